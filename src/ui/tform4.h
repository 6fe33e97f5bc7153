#pragma once

#include "ui/registereddialog.h"

namespace nobrisa {

// The registered subscribers dialog "登録加入者": account number and subscriber name of each
// subscriber, kept in section TourokuK of the application INI file.
class TForm4 final : public RegisteredDialog {
    Q_OBJECT
public:
    // `slipWindow` holds the slip's fields that 払込書にコピー fills and 取得 reads.
    TForm4(const QString& appIniPath, Prompts& prompts, QWidget& slipWindow, QWidget* parent);

protected:
    // A new subscriber is proposed under the first line of its name.
    QString proposedName() const override;
};

} // namespace nobrisa
