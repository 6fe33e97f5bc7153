#include "model/fontchoice.h"

#include "model/tsliprecord.h"

namespace nobrisa {

QString selectFace(const QString& stored, const QStringList& faces)
{
    if (stored.isEmpty())
        return {};
    for (const QString& face : faces) {
        if (face.compare(stored, Qt::CaseInsensitive) == 0)
            return face;
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
