// The stage list: the names of the current file's stages in file order, item i naming the stage
// at position i, with one selected position (-1 when nothing is selected). It lives for the
// whole run; the stage list dialog "Etapy" shows it, and the file workflow reads and changes it.
// Beside the names it keeps:
//
//   - the name the list showed at the selected position when it was selected: a write there
//     expects to find that name in the file (the name guard). It is the item's own name, unless
//     a step of the history brought back a selection that the file no longer bears out;
//   - the name field "Nazwa etapu:" (the dialog's EEtap), under which "Zapisz" writes;
//   - the selection and the name field as they were when the dialog was last shown, which
//     "&Anuluj" brings back (ZapamietanyIndeks).
//
// Names are kept whole for every write and comparison; the display role gives them as shownName
// cuts them, so that a name of megabytes costs no more to show than a short one.
#pragma once

#include <QAbstractListModel>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class StageListModel : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int WholeNameRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int count() const { return int(names_.size()); }
    // The whole name of item `index`; throws RuntimeError "List index out of bounds (index)"
    // when there is no such item.
    QString name(int index) const;
    // Whether the items are these names, as the stage file holds them, in this order.
    bool holds(const std::vector<std::string>& fileNames) const;

    // The items become `fileNames`; nothing is selected and nothing remembered.
    void setNames(const std::vector<std::string>& fileNames);
    void clear() { setNames({}); }
    // Item `index` takes `name` (the list's index error when there is none).
    void rename(int index, const QString& name);

    int selected() const { return selected_; }
    QString selectedName() const { return selectedName_; }
    // Selects item `index` with its own name; a position with no item selects nothing.
    void select(int index);
    // Selects `index` expecting `listedName` there, whatever the item is called now.
    void selectListed(int index, const QString& listedName);

    QString nameField() const { return nameField_; }
    void setNameField(const QString& name);

    // The dialog is shown: its selection and name field are remembered.
    void rememberWhenShown();
    int remembered() const { return remembered_; }
    QString rememberedName() const { return rememberedName_; }
    QString nameFieldWhenShown() const { return nameFieldWhenShown_; }
    // "&Anuluj": the remembered selection comes back, and the name field with it: the
    // remembered item's name, or with none remembered what the field held when shown.
    // Otherwise a later "Zapisz" would write the remembered stage under the name of an item
    // merely clicked.
    void cancelShowing();
    // The selection and the name field go back to what they were when the dialog was shown.
    void restoreWhenShown();

    // How a fresh reading of the file's names left the selection: kept only where the same
    // name still stands at the same position.
    struct Reread {
        int position = -1; // the selected position before the reading; -1 when none
        QString name;      // the name that stood there
        bool kept = false;
    };
    // Puts `fileNames` in place of the items under that rule; the remembered position is kept
    // under the same rule.
    Reread replaceNames(const std::vector<std::string>& fileNames);
    // What a reading did to the selection, in a sentence for the user.
    static QString describe(const Reread& reread);

    // After a write that rearranged the file's stages: the items become `fileNames`, `selected`
    // is selected, and the remembered position follows its stage to `newPosition` of it (-1
    // for a stage gone).
    void showRearranged(const std::vector<std::string>& fileNames, int selected,
                        const std::function<int(int)>& newPosition);

signals:
    // The selected position changed, by the program or by the user.
    void selectionChanged(int index);
    void nameFieldChanged(const QString& name);

private:
    void setSelection(int index, const QString& listedName);
    static bool stillStands(int position, const QString& expectedName,
                            const std::vector<std::string>& fileNames);

    std::vector<QString> names_;
    int selected_ = -1;
    QString selectedName_;
    QString nameField_;
    int remembered_ = -1;
    QString rememberedName_;
    QString nameFieldWhenShown_;
};
