// krelwin-stage: the stage file operations of Krelwin Konstruktor from the command line. Its
// own commands need no more than the stage core, so that a call from a script starts at the
// speed of the shell; the picture commands run in krelwin-stage-pictures.
#include "picture_program.h"
#include "program.h"

int main(int argc, char** argv) {
    if (argc > 1 && krelwin::cli::drawsPictures(argv[1]))
        krelwin::cli::startPictureProgram(argv);
    return krelwin::cli::runProgram(std::vector<std::string>(argv + 1, argv + argc));
}
