#pragma once

#include <QTableView>

namespace nobrisa {

// The continuous-print grid (StringGrid1): cells edited in place by typing or F2, rows and
// columns resized with the mouse, ranges selected; the headings shown in the headers. Every row
// has the same default height, so that a table of 100,000 rows scrolls without measuring any.
class StringGrid final : public QTableView {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);

    // The text typed into an open cell editor goes into the table and the editor closes, so that
    // a command sees what the user sees.
    void commitEditing();
};

} // namespace nobrisa
