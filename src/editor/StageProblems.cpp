#include "StageProblems.h"

#include "EditorState.h"
#include "MapView.h"
#include "StageCounts.h"
#include "TileSet.h"
#include "cell_kinds.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int CellRole = Qt::UserRole; // a finding's cell as a QPoint (column, row)

QTreeWidget* newTable(const QStringList& headers) {
    auto* table = new QTreeWidget;
    table->setRootIsDecorated(false);
    table->setUniformRowHeights(true);
    table->setAllColumnsShowFocus(true);
    table->setHeaderLabels(headers);
    table->header()->setStretchLastSection(true);
    return table;
}

// The findings' texts are shared with `krelwin-stage check`, where they follow a number.
QString sentence(const std::string& text) {
    QString shown = QString::fromStdString(text);
    if (!shown.isEmpty())
        shown[0] = shown[0].toUpper();
    return shown;
}

// A share too small to show at one decimal place still tells that the kind is there.
QString shareText(const QLocale& locale, const krelwin::KindShare& share) {
    const double percent = 100.0 * share.share;
    if (share.count > 0 && percent < 0.05)
        return QStringLiteral("< ") + locale.toString(0.1, 'f', 1) + QStringLiteral(" %");
    return locale.toString(percent, 'f', 1) + QStringLiteral(" %");
}

} // namespace

StageProblems::StageProblems(EditorState& stan, const StageCounts& counts, MapView* view,
                             QWidget* parent)
    : PlacedDialog(parent), stan_(stan), counts_(counts), view_(view) {
    setWindowTitle(QStringLiteral("Problemy etapu"));
    Problemy = newTable({QStringLiteral("Ważność"), QStringLiteral("Kolumna"),
                         QStringLiteral("Wiersz"), QStringLiteral("Opis")});
    Problemy->setToolTip(QStringLiteral("Dwukrotne kliknięcie prowadzi do pola na planszy."));
    Pola = newTable(
        {QStringLiteral("Rodzaj pola"), QStringLiteral("Liczba"), QStringLiteral("Udział")});
    Pola->setIconSize(QSize(krelwin::render::TileSize, krelwin::render::TileSize));
    Strony = new QTabWidget;
    Strony->addTab(Problemy, QStringLiteral("&Problemy"));
    Strony->addTab(Pola, QStringLiteral("Pola &etapu"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Zamknij"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Strony);
    layout->addWidget(buttons);
    connect(Problemy, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { chooseFinding(item); });
    resize(560, 380);
}

void StageProblems::run() {
    const krelwin::CellCounts& counts = counts_.counts();
    fillFindings(krelwin::findStageFindings(stan_.etap, counts));
    fillKinds();
    Strony->setCurrentIndex(0);
    chosen_.reset();
    if (exec() != QDialog::Accepted || !chosen_)
        return;
    view_->setCurrentRow(chosen_->row);
    view_->setCurrentColumn(chosen_->column);
    view_->setFocus();
}

void StageProblems::fillFindings(const std::vector<krelwin::StageFinding>& findings) {
    Problemy->clear();
    const QIcon error = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const krelwin::StageFinding& finding : findings) {
        auto* item = new QTreeWidgetItem(Problemy);
        const bool isError = finding.severity == krelwin::Severity::Error;
        item->setIcon(0, isError ? error : warning);
        item->setText(0, isError ? QStringLiteral("błąd") : QStringLiteral("ostrzeżenie"));
        if (finding.cell) {
            item->setText(1, QString::number(finding.cell->column));
            item->setText(2, QString::number(finding.cell->row));
            item->setData(0, CellRole, QPoint(finding.cell->column, finding.cell->row));
        }
        item->setText(3, sentence(finding.text));
        item->setToolTip(3, item->text(3));
    }
    if (findings.empty()) {
        auto* item = new QTreeWidgetItem(Problemy);
        item->setText(3, QStringLiteral("Etap nie ma żadnych problemów."));
        item->setFlags(Qt::ItemIsEnabled);
    }
    for (int column = 0; column < 3; ++column)
        Problemy->resizeColumnToContents(column);
    Problemy->setCurrentItem(Problemy->topLevelItem(0));
}

void StageProblems::fillKinds() {
    Pola->clear();
    const krelwin::render::TileSet& tiles = krelwin::render::TileSet::builtIn();
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    for (const krelwin::KindShare& share : krelwin::kindShares(counts_.counts())) {
        auto* item = new QTreeWidgetItem(Pola);
        // The kinds stand in the toolbar's order: kind k shows the tile of button k + 1.
        if (tiles.hasImage(share.kind))
            item->setIcon(0, QIcon(QPixmap::fromImage(tiles.image(share.kind))));
        item->setText(0, QString::fromUtf8(share.name));
        item->setText(1, polish.toString(share.count));
        item->setText(2, shareText(polish, share));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int column = 0; column < 3; ++column)
        Pola->resizeColumnToContents(column);
}

void StageProblems::chooseFinding(QTreeWidgetItem* item) {
    const QVariant cell = item != nullptr ? item->data(0, CellRole) : QVariant();
    if (!cell.isValid())
        return;
    const QPoint point = cell.toPoint();
    chosen_ = krelwin::CellPosition{point.x(), point.y()};
    accept();
}
