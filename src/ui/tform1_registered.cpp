// The registered payers and subscribers: each command opens its dialog over the application INI
// file, modal, and releases it when it closes.

#include "ui/tform1.h"

#include "ui/tform3.h"
#include "ui/tform4.h"

namespace nobrisa {

void TForm1::MharaikomininClick()
{
    TForm3 dialog(mContext.appIniPath, mPrompts, *this, this);
    dialog.exec();
}

void TForm1::MkanyushaClick()
{
    TForm4 dialog(mContext.appIniPath, mPrompts, *this, this);
    dialog.exec();
}

} // namespace nobrisa
