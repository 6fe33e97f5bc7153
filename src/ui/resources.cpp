#include "ui/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the generated initialiser in the enclosing namespace, so it has to be
// used outside of namespace nobrisa.
static void initNobrisaResources()
{
    Q_INIT_RESOURCE(nobrisa);
}

namespace nobrisa {

void initResources()
{
    initNobrisaResources();
}

} // namespace nobrisa
