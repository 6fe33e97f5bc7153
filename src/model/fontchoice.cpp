#include "model/fontchoice.h"

#include "model/tsliprecord.h"

namespace nobrisa {

QString withoutFoundry(const QString& face)
{
    // "Family [Foundry]": the foundry's name may end in a blank ("[URW ]").
    if (!face.endsWith(u']'))
        return face;
    const qsizetype open = face.lastIndexOf(QStringLiteral(" ["));
    if (open <= 0 || face.indexOf(u']', open) != face.size() - 1)
        return face;
    return face.left(open);
}

QString selectFace(const QString& stored, const QStringList& faces)
{
    if (stored.isEmpty())
        return {};
    // Earlier lists offered a family once per foundry, and files saved then name the foundry.
    for (const QString& name : {stored, withoutFoundry(stored)}) {
        for (const QString& face : faces) {
            if (face.compare(name, Qt::CaseInsensitive) == 0)
                return face;
        }
    }
    return {};
}

void selectFaces(TSlipRecord& slip, const QStringList& faces)
{
    for (QString* face : {&slip.CBfont1, &slip.CBfont2, &slip.CBfont3, &slip.CBfont4,
                          &slip.CBfont5})
        *face = selectFace(*face, faces);
}

} // namespace nobrisa
