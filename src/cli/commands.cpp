#include "commands.h"

#include <algorithm>

namespace krelwin::cli {

const std::vector<Command>& allCommands() {
    static const std::vector<Command> commands{
        {"list",
         "FILE",
         "print the stage names, at most the first 100",
         "Prints the names of the stages in FILE as the editor's stage list holds them:\n"
         "at most the first 100, in file order, one per line, bytes as stored.\n",
         {},
         {},
         1,
         1,
         runList},
        {"show",
         "FILE INDEX",
         "print stage INDEX as the editor would write it",
         "Loads stage INDEX of FILE (stages are numbered from 0) as the editor does,\n"
         "bringing every parameter into its range, and prints the record the editor\n"
         "would write for it: \"(\" NAME \")\", \"}\", the parameter line, \"{\" and the rows,\n"
         "every line ended by CR LF. NAME is the stage's own name from its name line;\n"
         "stages past the hundredth can be shown too. A stage whose cells hold \"(\", \"}\",\n"
         "CR, LF or byte 26 is refused, as the editor refuses to write it.\n",
         {},
         {},
         2,
         2,
         runShow},
        {"copy",
         "SRC INDEX DEST DEST_INDEX [--name NAME]",
         "write stage INDEX of SRC into DEST at DEST_INDEX (-1 appends)",
         "Loads stage INDEX of SRC as show does and writes it into DEST over stage\n"
         "DEST_INDEX, or after the last stage when DEST_INDEX is -1, under NAME or the\n"
         "stage's own name. The editor's rules apply: a stage written over another must\n"
         "hold exactly one start (S) and one exit (W); an index past the last stage, a\n"
         "name holding \"}\", CR, LF or byte 26, and cells holding \"(\", \"}\", CR, LF or\n"
         "byte 26 are refused; a missing DEST is created by an append. A refused or failed\n"
         "write leaves DEST as it was. A DEST another program holds is waited for at most\n"
         "5 seconds.\n",
         {"--name"},
         {},
         4,
         4,
         runCopy},
        {"generate",
         "[--seed N] [--size WxH] [--shares U1,...,U11] [--name NAME]",
         "print a new stage filled by the random map generator",
         "Prints the record of a new stage whose interior the random map generator fills.\n"
         "  --seed N       the random state to start from, 0 to 4294967295; without it,\n"
         "                 the milliseconds since midnight UTC, as the editor seeds it\n"
         "  --size WxH     width and height, brought into 18..80 and 10..80 (default 32x20)\n"
         "  --shares ...   eleven shares, 0 to 99 each, of diamond, earth, stone, rivet,\n"
         "                 butterfly, monster, wall, diamond wall, expanding wall, growing\n"
         "                 lava, pass-through lava (default 2,30,10,1,1,1,2,0,0,0,0); below\n"
         "                 a sum of 100 the rest of the stage is empty\n"
         "  --name NAME    the stage's name (default \"Etap 01\")\n"
         "Every other parameter takes its default. The stage holds no start and no exit.\n",
         {"--seed", "--size", "--shares", "--name"},
         {},
         0,
         0,
         runGenerate},
        {"check",
         "FILE",
         "print its problems, a line each: \"INDEX: text\", \"plik: text\"",
         "Prints one line per problem found in FILE, \"INDEX: text\" in Polish, where\n"
         "INDEX is the stage's index as the editor counts stages and \"plik\" marks a\n"
         "problem of the whole file. It finds: a stage without exactly one start and one\n"
         "exit (as loaded), values outside their ranges and type letters other than Z\n"
         "and B (as stored), numbers that do not convert, a short parameter line or\n"
         "colour text, \"}\" or \"(\" where they shift the stage numbering, each cell the\n"
         "editor's writes refuse, each cell holding a code outside the alphabet, missing,\n"
         "short or surplus rows, data after a byte 26, and stages past the hundredth,\n"
         "which the editor's stage list cannot reach. A stage with fewer diamond cells\n"
         "than diamonds to collect is a warning: \"INDEX: ostrzeżenie: text\".\n"
         "A file whose lines end in LF alone, in which the editor and the game see no\n"
         "stage, is reported alone, with the command that mends it: fix-line-ends.\n"
         "Exit status 1 when it finds any problem other than a warning; 0 otherwise, with\n"
         "no output for a clean file.\n",
         {},
         {},
         1,
         1,
         runCheck},
        {"stats",
         "FILE INDEX",
         "count the cells of stage INDEX by code, in the toolbar's order",
         "Loads stage INDEX of FILE as show does and prints a line per cell code its\n"
         "interior holds: the code, a tab, the number of cells, a tab, the Polish name of\n"
         "its kind. Codes follow the toolbar: S * + o #, the butterflies < > ^ v, the\n"
         "monsters / - | \\, = \" % & ~ W, then the empty cell \".\", then codes outside the\n"
         "alphabet (\"Nieznane pole\") by byte value. A code that is not a printable ASCII\n"
         "character, the blank included, shows as \\xNN. The last line is \"Diamenty: N/M\":\n"
         "cells holding a diamond against the diamonds to collect.\n",
         {},
         {},
         2,
         2,
         runStats},
        {"delete",
         "FILE INDEX",
         "remove stage INDEX from FILE",
         "Removes stage INDEX (numbered from 0) from FILE: its whole record, from its name\n"
         "line to the next stage's name line. Every other record stays byte for byte,\n"
         "past the hundredth too, and so do the lines before the first stage; as with\n"
         "every write of the editor, each line ends in CR LF afterwards and nothing after\n"
         "a byte 26 is kept. An INDEX that names no stage is refused; a refused or failed\n"
         "write leaves FILE as it was. Prints nothing.\n",
         {},
         {},
         2,
         2,
         runDelete},
        {"move",
         "FILE FROM TO",
         "move stage FROM to index TO; the others keep their order",
         "Moves stage FROM of FILE so that it becomes stage TO; the other stages keep\n"
         "their order (\"move FILE 0 4\" puts the first of five stages last). The record\n"
         "moves whole, name line to the next name line, and is written as delete says.\n"
         "FROM or TO naming no stage is refused. Prints nothing.\n",
         {},
         {},
         3,
         3,
         runMove},
        {"duplicate",
         "FILE INDEX [--name NAME]",
         "insert a copy of stage INDEX right after it",
         "Inserts a copy of stage INDEX of FILE right after it, as stage INDEX+1, under\n"
         "NAME or as the stage stands (the same name). Only the copy's name line differs\n"
         "from the stage copied. A name holding \"}\", CR, LF or byte 26 is refused, and\n"
         "so is an INDEX that names no stage. Written as delete says. Prints nothing.\n",
         {"--name"},
         {},
         2,
         2,
         runDuplicate},
        {"rename",
         "FILE INDEX NAME",
         "give stage INDEX the name NAME, its name line only",
         "Rewrites the name line of stage INDEX of FILE as \"(\" NAME \")\", as the editor's\n"
         "rename in its stage list does, and nothing else of the stage: no start or exit\n"
         "is needed. A name holding \"}\", CR, LF or byte 26 is refused, and so is an INDEX\n"
         "that names no stage. Written as delete says. Prints nothing.\n",
         {},
         {},
         3,
         3,
         runRename},
        {"fix-line-ends",
         "FILE",
         "rewrite LF line ends as CR LF (a file holding no CR)",
         "Rewrites FILE, whose lines end in LF alone (a file from a tool that writes such\n"
         "line ends), with CR LF line ends, so that the editor and the game see its\n"
         "stages: every LF becomes CR LF and every other byte stays. A file that holds\n"
         "any CR is refused and left as it was; a file without LF is left untouched.\n"
         "Written through the editor's safe write. Prints nothing.\n",
         {},
         {},
         1,
         1,
         runFixLineEnds},
        {"diff",
         "OLD NEW [--png DIR]",
         "compare two packs stage by stage (exit 1 when they differ)",
         "Compares the packs OLD and NEW stage by stage and prints, in Polish, the stages\n"
         "removed, added, moved and renamed, and for each changed stage the parameters\n"
         "that changed (old → new) and the rows whose cells differ, old above new, with\n"
         "\"^\" under the changed cells. Stages are numbered from 0, as in the other\n"
         "commands. A stage is the same stage when its parameters and cells match, or,\n"
         "failing that, when its name does within 3 places of where it is expected.\n"
         "Line ends that the game reads alike (CR, CR LF) are no difference.\n"
         "Exit status: 0 the packs hold the same stages, 1 they differ, 2 an error.\n"
         "  --png DIR  also draw each changed stage as it is in NEW, its changed cells\n"
         "             framed in red, into DIR (created if missing), named by its index\n"
         "             in NEW: 000.png, 001.png, ...\n"
         "Given the 7 arguments of a git external diff (path old-file old-hex old-mode\n"
         "new-file new-hex new-mode), it compares old-file with new-file, takes /dev/null\n"
         "for an empty pack, and exits with 0 whenever it could compare. For git:\n"
         "  git config diff.krelwin.command \"krelwin-stage diff\"\n"
         "  echo '*.map diff=krelwin merge=krelwin' >> .gitattributes\n",
         {"--png"},
         {},
         2,
         9,
         runDiff,
         ExitUsage},
        {"merge",
         "BASE OURS THEIRS [NAME]",
         "three-way merge of packs into OURS (a git merge driver)",
         "Merges two versions of a pack, OURS and THEIRS, with their common ancestor BASE,\n"
         "stage by stage, and writes the result over OURS through the editor's safe write.\n"
         "A stage changed on one side only is taken from that side; one changed alike on\n"
         "both sides is taken once; a rename on one side and a change of cells on the\n"
         "other are both kept. A stage changed differently on both sides is a conflict:\n"
         "OURS keeps our stage, and theirs follows right after it, \" (konflikt)\" added to\n"
         "its name. So is a stage removed on one side and changed on the other: the\n"
         "changed version stays. Conflicts are listed on standard error. NAME, the file's\n"
         "name in the repository, only names it in messages.\n"
         "Packs whose records do not stand on their own (stray \"(\" or \"}\", missing\n"
         "rows, lines before the first stage, data after a byte 26) are not merged.\n"
         "Exit status: 0 merged cleanly, 1 merged with conflicts, 2 an error or a pack\n"
         "that cannot be merged safely (OURS is then left as it was). For git:\n"
         "  git config merge.krelwin.driver \"krelwin-stage merge %O %A %B %P\"\n"
         "  echo '*.map diff=krelwin merge=krelwin' >> .gitattributes\n",
         {},
         {},
         3,
         4,
         runMerge,
         ExitUsage},
        {"render",
         "FILE (INDEX OUT.png | --all OUTDIR) [--scale N] [--grid]",
         "draw stage INDEX, or every stage, as a PNG picture",
         "Loads stage INDEX of FILE as show does and draws it, border ring included, with\n"
         "the editor's own tiles and direction marks into the PNG picture OUT.png:\n"
         "(width + 2) * 28 by (height + 2) * 28 pixels, nothing selected, marks silver.\n"
         "  --grid     the map view's 1-pixel silver line after every column and row:\n"
         "             (width + 2) * 29 by (height + 2) * 29 pixels\n"
         "  --scale N  every pixel becomes an N x N block (1 to 8, default 1), no smoothing\n"
         "  --all      draw every stage of FILE into OUTDIR (created if missing), one\n"
         "             picture per stage named by its index: 000.png, 001.png, ...,\n"
         "             reading FILE once\n"
         "Pictures are indexed-colour PNG on the tiles' palette of at most 16 colours.\n"
         "An existing picture is replaced whole, never left half written.\n",
         {"--scale"},
         {"--grid", "--all"},
         2,
         3,
         runRender},
        {"thumbnail",
         "INPUT OUTPUT SIZE",
         "draw stage 0 fitted into SIZE x SIZE pixels (thumbnails)",
         "Loads stage 0 of the stage file INPUT as show does, draws it as render does\n"
         "(border ring included, no grid) and fits the picture into SIZE x SIZE pixels,\n"
         "keeping its proportions, into the PNG picture OUTPUT. A larger picture is\n"
         "reduced with smoothing; a smaller one is enlarged by repeating its pixels, with\n"
         "no blur. SIZE is 1 to 4096. File managers run it through the thumbnailer entry\n"
         "of stage files as \"krelwin-stage thumbnail %i %o %s\". OUTPUT is replaced\n"
         "whole, never left half written.\n",
         {},
         {},
         3,
         3,
         runThumbnail},
    };
    return commands;
}

const Command* findCommand(std::string_view name) {
    const std::vector<Command>& commands = allCommands();
    const auto found =
        std::find_if(commands.begin(), commands.end(),
                     [name](const Command& command) { return command.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

} // namespace krelwin::cli
