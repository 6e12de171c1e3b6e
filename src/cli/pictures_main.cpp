// krelwin-stage-pictures: krelwin-stage's commands built with the editor's renderer, for the
// picture commands (render, thumbnail) that krelwin-stage hands over. Not meant to be run by
// hand; it answers exactly as krelwin-stage does.
#include "program.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// render --all makes a picture per stage, each taking and freeing the same few hundred
// kilobytes (the picture, the compressor's state, the file's bytes). glibc's allocator would
// give the top of its heap back to the system after each picture and fault it in again for the
// next, a page fault per 4 KB that doubled the time of a pack's pictures; this program is short
// lived, so it keeps what it freed for the next picture. Only a picture of more than 64 MB is
// mapped on its own and returned at once.
void keepFreedMemoryForTheNextPicture() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
}

} // namespace

int main(int argc, char** argv) {
    keepFreedMemoryForTheNextPicture();
    return krelwin::cli::runProgram(std::vector<std::string>(argv + 1, argv + argc));
}
