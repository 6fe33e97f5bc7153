#pragma once

#include "model/numbertext.h"

#include <QString>

namespace nobrisa {

// The slip document: every value printed into the boxes of a pre-printed postal transfer
// payment slip, with the print switches, faces and sizes of each group and the whole-print
// adjustment. Fields carry the names of the main window's controls, which are also the keys of
// the settings files. Multi-line fields are one text with CR LF between lines; faces are the
// selected face name (empty: no selection); number fields are their text (see NumberText).
struct TSlipRecord {
    // Account number and subscriber name.
    bool CheckBox1 = false;
    QString Ekouza1; // 5 characters in the editor
    QString Ekouza2; // 1
    QString Ekouza3; // 7
    QString CBfont1;
    NumberText SpinEditFont1{1, 999, 12};
    QString Ekanyu;
    QString CBfont5;
    NumberText SEfont5{1, 999, 20};
    NumberText SEfont51{1, 999, 20};
    bool CheckBoxfont5 = false;

    // Amount.
    bool CheckBox2 = false;
    NumberText SEkingaku{0, 99999999, 1000};
    QString CBfont2;
    NumberText SpinEditFont2{4, 12, 12};

    // Message column.
    bool CheckBox3 = false;
    QString MemoTsuushin;
    QString CBfont3;
    NumberText SEfont3{4, 36, 10};

    // Payer, left half.
    bool CheckBox4 = false;
    QString Ezip;   // 8
    QString Maddres;
    QString Etele1; // 30
    QString Etele2; // 5
    QString Etele3; // 5
    QString CBfont4;
    NumberText SEfont4{4, 12, 9};
    bool CheckBoxfont4 = false;

    // Payer, right half.
    bool CheckBox4R = false;
    QString MaddresR;
    NumberText SEfont41{4, 12, 9};

    // Whole-print adjustment in 0.1 mm (mirrored into ox/oy).
    NumberText SEleftright{-10000, 10000, 0};
    NumberText SEtopbottom{-10000, 10000, 0};

    // ox and oy: the adjustment as the coordinate conversion uses it; 0 while the text is no
    // whole number (a lone "-" while typing).
    int ox() const noexcept { return SEleftright.toInt(0); }
    int oy() const noexcept { return SEtopbottom.toInt(0); }
};

// Editor length limits of the one-line text fields.
inline constexpr int kMaxEkouza1 = 5;
inline constexpr int kMaxEkouza2 = 1;
inline constexpr int kMaxEkouza3 = 7;
inline constexpr int kMaxEzip = 8;
inline constexpr int kMaxEtele1 = 30;
inline constexpr int kMaxEtele2 = 5;
inline constexpr int kMaxEtele3 = 5;

} // namespace nobrisa
