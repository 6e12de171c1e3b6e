// krelwin-stage: the stage file operations of Krelwin Konstruktor from the command line. Its
// own commands need no more than the stage core, so that a call from a script starts at the
// speed of the shell; the picture commands run in krelwin-stage-pictures.
#include "picture_program.h"
#include "program.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (krelwin::cli::drawsPictures(arguments))
        krelwin::cli::startPictureProgram(argv);
    return krelwin::cli::runProgram(arguments);
}
