// A stage-name field that can hold a name of any length. Names typed are at most 20 characters,
// but a file made elsewhere can bring one of megabytes, which a line edit would lay out for
// seconds (or cut at its length limit). The field shows the name as shownName cuts it and
// keeps the whole name for every write.
//
// setText and text hide QLineEdit's own on purpose, so that every command that moves a stage
// name through the field keeps it whole: through a StageNameField they take and give the whole
// name; through a QLineEdit (validators, the user's typing) they are the text shown.
#pragma once

#include <QLineEdit>

class StageNameField : public QLineEdit {
public:
    explicit StageNameField(QWidget* parent = nullptr) : QLineEdit(parent) {}

    void setText(const QString& name);
    // The name set last, whole, for as long as the text shown is left as it was set; once the
    // user has changed it, the text as changed.
    QString text() const;

private:
    QString whole_;
};
