#pragma once

#include <QLabel>

namespace nobrisa {

// A label that acts on a click: the OCRB search links and the "右へ"/"下へ" reset labels.
class ClickableLabel final : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool mPressed = false;
};

} // namespace nobrisa
