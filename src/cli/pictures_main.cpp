// krelwin-stage-pictures: krelwin-stage's commands built with the editor's renderer, for the
// picture commands (render, thumbnail) that krelwin-stage hands over. Not meant to be run by
// hand; it answers exactly as krelwin-stage does.
#include "program.h"

int main(int argc, char** argv) {
    return krelwin::cli::runProgram(std::vector<std::string>(argv + 1, argv + argc));
}
