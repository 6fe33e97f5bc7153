#pragma once

#include <QString>

#include <array>

namespace nobrisa {

// The ten lists that tell which column of the continuous-print table feeds which slip field
// (ComboBox1 to ComboBox10, in this order).
enum class MapField {
    PostalCode,  // ComboBox1 "〒"
    Address1,    // ComboBox2 "住所１"
    Address2,    // ComboBox3 "住所２"
    Name,        // ComboBox4 "氏名"
    Telephone,   // ComboBox5 "電話"
    Amount,      // ComboBox6 "金額"
    Message1,    // ComboBox7 "通信欄１"
    Message2,    // ComboBox8 "通信欄２"
    Message3,    // ComboBox9 "通信欄３"
    Message4,    // ComboBox10 "通信欄４"
};
inline constexpr int kMapFieldCount = 10;

// The lists' state: each holds `itemCount` items (item 0 its own text, item k the column k) and
// a selected index, -1 for none. The selected index is the column number.
struct ColumnMapping {
    int itemCount = 0;
    std::array<int, kMapFieldCount> selection{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

    int selected(MapField field) const { return selection[static_cast<std::size_t>(field)]; }
    void select(MapField field, int index) { selection[static_cast<std::size_t>(field)] = index; }

    // The column the field takes its text from, or 0 when the list selects none: item 0 and no
    // selection both mean "none" ("(なし)", "(金額欄)", "(通信欄)").
    int column(MapField field) const
    {
        const int index = selected(field);
        return index >= 1 ? index : 0;
    }

    // FillColumnChoices: `columns` items in every list, item 0 selected, then the default
    // column where the list has it (postal code 1, address 2, 3, name 4, telephone 5, message
    // lines 2 to 4 columns 8, 9, 10; amount and the first message line stay on item 0).
    void fill(int columns);
    // The lists for a table now `columns` wide, keeping every selection the lists still hold;
    // lists that were empty (after a new table) get the defaults as fill() gives them.
    void refill(int columns);
    // A new table: every list empty, no selection.
    void clear();

    // The text of item 0 of a list, and the list's hint.
    static QString itemZeroText(MapField field);
    static QString hint(MapField field);

    friend bool operator==(const ColumnMapping&, const ColumnMapping&) = default;
};

} // namespace nobrisa
