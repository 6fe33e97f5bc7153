#pragma once

#include "ui/registereddialog.h"

namespace nobrisa {

// The registered payers dialog "登録ご依頼人": postal code, address and name, telephone and
// the right-hand name of each payer, kept in section Touroku of the application INI file.
class TForm3 final : public RegisteredDialog {
    Q_OBJECT
public:
    // `slipWindow` holds the slip's fields that 払込書にコピー fills and 取得 reads.
    TForm3(const QString& appIniPath, Prompts& prompts, QWidget& slipWindow, QWidget* parent);
};

} // namespace nobrisa
