#pragma once

#include <QDialog>

class QLabel;

namespace nobrisa {

// The version dialog: the program's icon, name and version in a sunken panel, and a close button.
// Created when opened and freed when closed.
class TAboutBox final : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // The text of the version label, "Ver. 4.3" for this release.
    void setVersion(const QString& version);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* mVersion = nullptr;
};

} // namespace nobrisa
