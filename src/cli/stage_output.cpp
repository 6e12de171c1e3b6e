#include "stage_output.h"

#include "line_reader.h"
#include "stage_record.h"

namespace krelwin::cli {

std::string ownStageName(const std::string& path, int index) {
    LineReader reader(path);
    std::string line;
    std::string previous;
    int recordLinesSeen = 0;
    while (reader.readLine(line)) {
        if (holdsMarker(line, RecordMarker) && recordLinesSeen++ == index) {
            return nameFromNameLine(previous);
        }
        previous = std::move(line);
    }
    return {};
}

void printRecord(std::ostream& out, const std::string& name, const Etap& etap) {
    std::string record;
    appendRecord(record, name, etap);
    out.write(record.data(), static_cast<std::streamsize>(record.size()));
}

} // namespace krelwin::cli
