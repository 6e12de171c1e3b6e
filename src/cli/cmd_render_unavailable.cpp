#include "commands.h"

#include "errors.h"

namespace krelwin::cli {

// Pictures are drawn by the editor's renderer, which needs Qt; this build was made without it.
int runRender(const CommandLine&, std::ostream&) {
    throw PlainMessage("render is not available: krelwin-stage was built without the editor (Qt).");
}

int runThumbnail(const CommandLine&, std::ostream&) {
    throw PlainMessage(
        "thumbnail is not available: krelwin-stage was built without the editor (Qt).");
}

} // namespace krelwin::cli
