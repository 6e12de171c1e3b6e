// The picture commands (render, thumbnail, diff --png) draw with Qt, which krelwin-stage itself
// never loads: it hands them to krelwin-stage-pictures, a program of the same commands built
// with the editor's renderer, installed in the libexec folder. Users and scripts see one command.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace krelwin::cli {

// Whether the command line (after the program's name) is one that krelwin-stage-pictures runs:
// render, thumbnail, and diff with --png.
bool drawsPictures(const std::vector<std::string>& arguments);

// Where krelwin-stage-pictures is looked for, in this order: the libexec folder relative to the
// running krelwin-stage (../libexec/krelwin-konstruktor/ from its bin folder), then beside it,
// where the build puts it. Empty in a build without the editor.
std::vector<std::string> pictureProgramPaths();

// Replaces this process with the first of those programs that can be started, handing it the
// same arguments; returns only when none could be.
void startPictureProgram(char** argv);

} // namespace krelwin::cli
