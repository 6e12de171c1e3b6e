#include "StageListModel.h"

#include "TextCodec.h"
#include "errors.h"

int StageListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant StageListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count()) {
        return {};
    }
    const QString& whole = names_[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return shownName(whole);
    case WholeNameRole:
        return whole;
    default:
        return {};
    }
}

QString StageListModel::name(int index) const {
    if (index < 0 || index >= count()) {
        throw krelwin::RuntimeError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return names_[std::size_t(index)];
}

bool StageListModel::holds(const std::vector<std::string>& fileNames) const {
    if (fileNames.size() != names_.size()) {
        return false;
    }
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (krelwin::fromFileBytes(fileNames[i]) != names_[i]) {
            return false;
        }
    }
    return true;
}

void StageListModel::setNames(const std::vector<std::string>& fileNames) {
    beginResetModel();
    names_.clear();
    names_.reserve(fileNames.size());
    for (const std::string& fileName : fileNames) {
        names_.push_back(krelwin::fromFileBytes(fileName));
    }
    remembered_ = -1;
    rememberedName_.clear();
    endResetModel();
    setSelection(-1, QString());
}

void StageListModel::rename(int index, const QString& newName) {
    const QString old = name(index); // the list's index error when there is no such item
    names_[std::size_t(index)] = newName;
    if (index == selected_ && selectedName_ == old) {
        selectedName_ = newName;
    }
    if (index == remembered_ && rememberedName_ == old) {
        rememberedName_ = newName;
    }
    emit dataChanged(this->index(index), this->index(index));
}

void StageListModel::select(int index) {
    if (index < 0 || index >= count()) {
        setSelection(-1, QString());
    } else {
        setSelection(index, names_[std::size_t(index)]);
    }
}

void StageListModel::selectListed(int index, const QString& listedName) {
    if (index < 0 || index >= count()) {
        setSelection(-1, QString());
    } else {
        setSelection(index, listedName);
    }
}

void StageListModel::setSelection(int index, const QString& listedName) {
    selectedName_ = listedName;
    // Emitted every time, also for the same position: a view whose own selection moved must
    // be brought back to this one.
    selected_ = index;
    emit selectionChanged(index);
}

void StageListModel::setNameField(const QString& text) {
    if (nameField_ == text) {
        return;
    }
    nameField_ = text;
    emit nameFieldChanged(text);
}

void StageListModel::rememberWhenShown() {
    remembered_ = selected_;
    rememberedName_ = selectedName_;
    nameFieldWhenShown_ = nameField_;
}

void StageListModel::cancelShowing() {
    setNameField(remembered_ >= 0 ? name(remembered_) : nameFieldWhenShown_);
    selectListed(remembered_, rememberedName_);
}

void StageListModel::restoreWhenShown() {
    selectListed(remembered_, rememberedName_);
    setNameField(nameFieldWhenShown_);
}

bool StageListModel::stillStands(int position, const QString& expectedName,
                                 const std::vector<std::string>& fileNames) {
    return position >= 0 && std::size_t(position) < fileNames.size() &&
           krelwin::fromFileBytes(fileNames[std::size_t(position)]) == expectedName;
}

StageListModel::Reread StageListModel::replaceNames(const std::vector<std::string>& fileNames) {
    Reread reread;
    reread.position = selected_;
    reread.name = selectedName_;
    reread.kept = stillStands(selected_, selectedName_, fileNames);
    const bool rememberedStands = stillStands(remembered_, rememberedName_, fileNames);
    const int remembered = rememberedStands ? remembered_ : -1;
    const QString rememberedName = rememberedStands ? rememberedName_ : QString();
    setNames(fileNames);
    if (reread.kept) {
        select(reread.position);
    }
    remembered_ = remembered;
    rememberedName_ = rememberedName;
    return reread;
}

QString StageListModel::describe(const Reread& reread) {
    const QString heading = QStringLiteral("Lista etapów została odczytana z pliku ponownie.");
    if (reread.position < 0) {
        return heading;
    }
    const QString number = QString::number(reread.position + 1);
    const QString name = shownName(reread.name, MessageNameLength);
    if (reread.kept) {
        return heading + QStringLiteral(" Etap nr %1 „%2” jest na swoim miejscu i pozostaje "
                                        "zaznaczony.")
                             .arg(number, name);
    }
    return heading + QStringLiteral(" Na pozycji nr %1 nie ma już etapu „%2”, więc żaden etap "
                                    "nie jest zaznaczony, a „Zapisz” dopisze etap na końcu "
                                    "pliku.")
                         .arg(number, name);
}

void StageListModel::showRearranged(const std::vector<std::string>& fileNames, int selectedIndex,
                                    const std::function<int(int)>& newPosition) {
    const int remembered = remembered_ >= 0 ? newPosition(remembered_) : -1;
    const QString rememberedName = rememberedName_;
    setNames(fileNames);
    select(selectedIndex);
    if (remembered >= 0 && remembered < count()) {
        remembered_ = remembered;
        rememberedName_ = rememberedName;
    }
}
