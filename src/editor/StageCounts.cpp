#include "StageCounts.h"

#include "EditorState.h"
#include "FileWorkflow.h"

#include <QLabel>

namespace {

// Dark enough on the status bar's light grey to read easily, red enough to be seen.
const QString AlarmStyle = QStringLiteral("color:#b00000; font-weight:bold");

QString alarm(const std::string& text) {
    return QStringLiteral("&nbsp;&nbsp; <span style=\"%1\">%2</span>")
        .arg(AlarmStyle, QString::fromStdString(text).toHtmlEscaped());
}

} // namespace

StageCounts::StageCounts(FileWorkflow& workflow, QLabel* label, QObject* parent)
    : QObject(parent), workflow_(workflow), stan_(workflow.stan()), label_(label) {
    label_->setTextFormat(Qt::RichText);
    label_->setToolTip(QStringLiteral("Diamenty na planszy / diamenty do zebrania. Pozycja "
                                      "startowa i wyjście są tu pokazane, gdy etap nie ma ich "
                                      "dokładnie po jednym."));
    label_->setVisible(workflow_.fileOpen());
    connect(&stan_, &EditorState::stageReplaced, this, &StageCounts::countAnew);
    connect(&stan_, &EditorState::cellsChanged, this, &StageCounts::countChanges);
    connect(&workflow_, &FileWorkflow::fileStateChanged, this,
            [this] { label_->setVisible(workflow_.fileOpen()); });
    countAnew();
}

void StageCounts::countAnew() {
    counter_.rebuild(stan_.etap);
    show();
}

void StageCounts::countChanges(const ZmianyPol& changes) {
    for (const ZmianaPola& zmiana : changes) {
        counter_.cellChanged(zmiana.column, zmiana.row, zmiana.przed, zmiana.po);
    }
    show();
}

// The label is laid out anew only when its text changes, which most edits leave as it was.
void StageCounts::show() {
    const krelwin::StatusCounts counts =
        krelwin::statusCounts(counter_.counts(), stan_.etap.parametry.IleD);
    if (shown_ == counts) {
        return;
    }
    shown_ = counts;
    QString text = QString::fromStdString(counts.diamonds).toHtmlEscaped();
    for (const std::string* rule : {&counts.starts, &counts.exits}) {
        if (!rule->empty()) {
            text += alarm(*rule);
        }
    }
    label_->setText(text);
}
