#include "stage_output.h"

#include "stage_record.h"

namespace krelwin::cli {

void printRecord(std::ostream& out, const std::string& name, const Etap& etap) {
    std::string record;
    appendRecord(record, name, etap);
    out.write(record.data(), static_cast<std::streamsize>(record.size()));
}

} // namespace krelwin::cli
