#pragma once

#include "model/tprintpositions.h"

#include <QDialog>

#include <vector>

class QStatusBar;
class QTabWidget;

namespace nobrisa {

class NumberBox;

// The print-position dialog "印刷位置設定": the boxes of every slip field on the form, for
// privately printed forms whose layout differs from the standard one. Created hidden at start-up
// and kept for the whole run; the renderers read positions() at each drawing.
class TForm2 final : public QDialog {
    Q_OBJECT
public:
    // Creates the dialog and loads the 26 positions from the application INI file.
    explicit TForm2(const QString& appIniPath, QWidget* parent = nullptr);

    // The positions as the boxes hold them now (kept in step with every edit).
    const TPrintPositions& positions() const { return mPositions; }
    void setPositions(const TPrintPositions& positions);

    // "標準に戻す": the 26 standard values; the amount boxes are left as they are.
    void BitBtn3Click();

    // "キャンセル", Esc and the window's close button: closes and takes back every change made
    // since the dialog opened. "OK" keeps them.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One number box and the entry of the table it holds.
    struct Box {
        NumberBox* box;
        NumberText TPrintPositions::*field;
        int standard; // what a click on its label restores
    };

    QWidget* buildPage(int page);
    void showPositions();

    TPrintPositions mPositions;
    TPrintPositions mOnOpening; // what a cancel goes back to
    QTabWidget* mPages = nullptr;
    QStatusBar* mStatusBar = nullptr;
    std::vector<Box> mBoxes;
};

} // namespace nobrisa
