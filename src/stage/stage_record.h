// One stage record as it stands in a stage file: the name line, "}", the parameter line, "{",
// and one line of cell codes per row. Records are found by counting the lines that hold "}"
// (the (k+1)-th is stage k's) or "(" (the (k+1)-th is stage k's name line).
#pragma once

#include "line_splitter.h"
#include "plansza.h"

#include <string>
#include <string_view>

namespace krelwin {

inline constexpr char NameMarker = '(';
inline constexpr char RecordMarker = '}';
inline constexpr std::string_view LineEnd = "\r\n";

// What a stored text must not hold, lest the records be located wrongly: a line holding "(" or
// "}" counts as a record's name line or "}" line, and a line end or a byte 26 splits the line
// or ends the file. A name line begins with its own "(", so a name may hold more of them.
inline constexpr char RecordBreakingSet[] = {NameMarker, RecordMarker, CarriageReturn, LineFeed,
                                             EndMark};
// In a cell or a colour text.
inline constexpr std::string_view RecordBreakingBytes(RecordBreakingSet, 5);
// In a name.
inline constexpr std::string_view NameBreakingBytes(RecordBreakingSet + 1, 4);

// "(" + name + ")".
std::string nameLine(std::string_view name);
// The name a name line carries: all but its first and last characters; empty for a line of two
// characters or fewer.
std::string nameFromNameLine(std::string_view line);

// "SS,WW,DDD,PPP,MMM,RRR,LLL,CCC,T,kolory," with the widths as they are written.
std::string formatParameterLine(const ParametryEtapu& parametry);

// The parameter line's fields from their fixed columns, converted but not yet brought into
// range. A number field that does not convert throws ConversionError with the field's text.
// A line too short for the type column reads as a bonus stage; the colour text is what stands
// in its 53 columns, fewer when the line ends earlier.
ParametryEtapu parseParameterLine(std::string_view line);

// Sets the cells of `row`, columns 1 to `szer`, from the row line. Only columns the array holds
// (at most 80) and characters the line holds are taken; other cells keep what they held.
void readCellRow(std::string_view line, int row, int32_t szer, Plansza& plansza);

// The whole record, every line ended by CR LF. The rows written are those the array holds for
// the stage's size (at most 80 by 80).
void appendRecord(std::string& out, std::string_view name, const Etap& etap);

} // namespace krelwin
