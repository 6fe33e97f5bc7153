#pragma once

#include <QString>
#include <QStringList>

namespace nobrisa {

struct TSlipRecord;

// The family of a face name that carries its foundry, as the font database names a family that
// several foundries supply ("Nimbus Sans [urw]" gives "Nimbus Sans"); other names unchanged.
QString withoutFoundry(const QString& face);

// The entry of a font list that a stored face name selects: names match without regard to
// case, and the list's own spelling is returned; a name stored with its foundry selects its
// family. A name not in the list selects nothing (empty).
QString selectFace(const QString& stored, const QStringList& faces);

// Applies the font lists to the record's five face fields, as the window's lists do when a
// settings file is read: faces this machine lacks are left without a selection, so that the
// renderers draw them with their fallback faces.
void selectFaces(TSlipRecord& slip, const QStringList& faces);

} // namespace nobrisa
