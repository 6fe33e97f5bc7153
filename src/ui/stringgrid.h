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

    // Widens each column to its heading and the cells of its first rows (up to about 200 rows,
    // fewer in a table of very many columns), no narrower than the default width and no wider
    // than about 24 full-width characters. Only a sample is measured so that a 100,000-row file
    // opens as fast as a short one; a longer cell further down shows whole in its tooltip.
    void fitColumnsToContents();
};

} // namespace nobrisa
