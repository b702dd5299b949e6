#pragma once

// Highlight styles of the form's fields, each a whole widget style sheet.
namespace style {
// The module confirmed the field.
constexpr const char ok[] = "background-color:  #90ee90;";
// The module's answer for the field was refused.
constexpr const char error[] = "background-color: #FF2400";
// The field is not in use or not editable.
constexpr const char inactive[] = "background-color:  #f5edff;";
// The same lavender as written by the settings-file load, with one blank
// fewer than `inactive`: the load writes its own text, which renders alike.
constexpr const char inactiveFile[] = "background-color: #f5edff;";
// Neutral: nothing is known about the field.
constexpr const char none[] = "";
} // namespace style
