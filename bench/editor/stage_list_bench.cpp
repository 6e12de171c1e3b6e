// The "Etapy" dialog filled with the names of a file whose first stage name is 10 MB long (a
// file made elsewhere), decoded from the file's bytes and shown: the list and the name field
// show the name cut, so this costs about what decoding the bytes costs. A list laying out the
// whole name took more than 20 seconds here.
#include "EditorState.h"
#include "FileWorkflow.h"
#include "ListaE.h"
#include "MessageBoxDialogue.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> namesWithAHugeOne() {
    std::string huge;
    while (huge.size() < 10 * 1024 * 1024)
        huge += "Bardzo d\xB3uga nazwa "; // "ł" in cp1250
    return {huge, "Krotki"};
}

void BM_StageListShowsAHugeName(benchmark::State& state) {
    const std::vector<std::string> names = namesWithAHugeOne();
    EditorState stan;
    MessageBoxDialogue dialogue;
    FileWorkflow workflow(stan, dialogue);
    TForm3 form(workflow);
    for (auto _ : state) {
        workflow.list().clear();
        workflow.list().setNames(names);
        workflow.list().setNameField(form.itemText(0));
        form.show();
        QApplication::processEvents();
        form.hide();
    }
    state.counters["name_bytes"] = double(names.front().size());
}
BENCHMARK(BM_StageListShowsAHugeName)->Unit(benchmark::kMillisecond);

} // namespace
