// The region box and the region tree built from "areaCode" of adDocs.cad.
#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>

#include "BusyCursor.h"
#include "Prompt.h"
#include "frmMain.h"
#include "modProgressBar.h"
#include "search/RegionTree.h"
#include "ui_frmMain.h"

namespace {

const QString kTreeQueryFailed = QStringLiteral("보조 데이터 파일을 찾을 수 없습니다");
const QString kTreeQueryTitle = QStringLiteral("오류 (M0001)");
constexpr int kKeyRole = Qt::UserRole;

}  // namespace

void frmMain::connectRegion() {
    for (int i = 0; i < search::kAreaCount; ++i) m_ui->cmbArea->addItem(search::areaName(i));
    connect(m_ui->cmbArea, &QComboBox::activated, this, &frmMain::selectRegion);
    connect(m_ui->tvArea, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node) { nodeClicked(node); });
    // Moving through the tree with the keys acts as clicking the node reached (a mouse click
    // changes the current node too, and is handled once, as a click).
    connect(m_ui->tvArea, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        if (node && m_ui->tvArea->hasFocus() && QApplication::mouseButtons() == Qt::NoButton) {
            nodeClicked(node);
        }
    });
    connect(m_ui->txtArea, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_settingText && !text.isEmpty()) jumpToNode(text);
    });
    connect(m_ui->txtDong, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_dongChanged = true;
        if (!m_settingText && !text.isEmpty()) jumpToNode(text);
    });
}

void frmMain::selectRegion(int index) {
    // A tree that could not be built is tried again when its region is chosen again.
    if (m_treeFailed) m_loadedArea = -1;
    chooseArea(index);
}

void frmMain::chooseArea(int index) {
    if (index < 0 || index >= search::kAreaCount) return;
    m_ui->cmbArea->setCurrentIndex(index);
    m_currentArea = index;
    setStatus(3, QString());
    requestTree();
    ListNames();
}

void frmMain::requestTree() {
    if (m_loadedArea == m_currentArea) return;
    const BusyCursor busy;
    m_settingText = true;
    m_ui->txtArea->clear();
    // The dong chosen in the old tree is not in the new one: the dong pages must not run on
    // whatever node the new tree has selected while the old dong's name is on show.
    m_ui->txtDong->clear();
    m_settingText = false;
    m_dongListed = false;
    updateDongCommands();
    m_ui->tvArea->clear();
    m_nodesByKey.clear();
    m_nodesInOrder.clear();
    // A failed build counts as loaded for the window's own requests (one message, not one per
    // request), and as failed for the user's next choice of a region, which tries again.
    m_loadedArea = -1;
    const int area = m_currentArea;
    const bool built = buildTree(area);
    if (m_loadedArea == -1) {  // no later request built another area's tree meanwhile
        m_loadedArea = area;
        m_treeFailed = !built;
    }
}

bool frmMain::buildTree(int area) {
    const int build = ++m_treeBuilds;
    QCoreApplication::processEvents();
    // A region chosen while those messages ran (a key held down in cmbArea) has built its own
    // tree meanwhile; this one is stale and would add its places to that tree.
    if (build != m_treeBuilds) return false;
    telvia::Recordset rs;
    const telvia::Status opened = m_dbDocs.open_recordset(
        "SELECT * FROM areaCode WHERE (areaNumber = ?1);", rs, {telvia::DbValue(area)});
    if (!opened.ok()) {
        qWarning("areaCode: %s", opened.message().c_str());
        msgBox(kTreeQueryFailed, PromptButtons::Ok, PromptIcon::Error, kTreeQueryTitle, Beep::Yes);
        return false;
    }
    m_picProgress->setGeometry(5, 4, std::max(10, m_ui->vsElastic3->width() - 10),
                               std::max(8, m_ui->vsElastic3->height() - 8));
    m_picProgress->show();
    rs.move_last();
    rs.move_first();

    const QIcon more = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon one = style()->standardIcon(QStyle::SP_FileIcon);
    search::RegionTreeBuilder builder;
    QList<QTreeWidgetItem*> top;
    double counter = 1;
    for (; !rs.eof(); rs.move_next()) {
        const auto node = builder.add(static_cast<int>(rs.integer("areaLevel")),
                                      QString::fromStdString(rs.text("areaName")),
                                      QString::fromStdString(rs.text("AreaCode")));
        // A row whose key is taken or whose parent is missing is skipped.
        QTreeWidgetItem* parent = node ? m_nodesByKey.value(node->parentKey) : nullptr;
        if (node && !m_nodesByKey.contains(node->key) && (node->parentKey.isEmpty() || parent)) {
            auto* item = new QTreeWidgetItem(QStringList{node->text});
            item->setData(0, kKeyRole, node->key);
            item->setIcon(0, node->hasChildren ? more : one);
            if (parent) {
                parent->addChild(item);
            } else {
                top << item;
            }
            m_nodesByKey.insert(node->key, item);
            m_nodesInOrder.push_back(item);
        }
        const double p = rs.percent_position();
        if (p > counter) {
            counter += 2;
            modProgressBar::DrawPercentBar(m_picProgress, static_cast<float>(p / 100.0), true);
            m_picProgress->repaint();
        }
    }
    rs.close();
    m_ui->tvArea->addTopLevelItems(top);
    m_picProgress->hide();
    if (!m_nodesInOrder.empty()) {
        m_ui->tvArea->setCurrentItem(m_nodesInOrder.front());
        m_settingText = true;
        m_ui->txtArea->setText(m_nodesInOrder.front()->text(0));
        m_settingText = false;
    }
    return true;
}

QString frmMain::selectedCode() const {
    const QTreeWidgetItem* node = m_ui->tvArea->currentItem();
    return node ? node->data(0, kKeyRole).toString().mid(1) : QString();
}

void frmMain::nodeClicked(QTreeWidgetItem* node) {
    if (!node) return;
    if (m_ui->tvArea->currentItem() != node) m_ui->tvArea->setCurrentItem(node);
    // A dong or surname search entered from the name search kind picks its dong here: its
    // pane stays the one on show (the input state keeps it).
    inputState();
    m_dongChanged = true;
    m_dongListed = false;
    const QString key = node->data(0, kKeyRole).toString();
    m_settingText = true;
    m_ui->txtArea->setText(node->text(0));
    m_ui->cmdNext->setText(QStringLiteral("찾기"));
    if (key.size() == 9 || key.size() == 7) {
        m_ui->txtDong->setText(node->text(0));
    } else {
        m_ui->txtDong->clear();
    }
    m_settingText = false;
    updateDongCommands();
    if (key.startsWith(QLatin1Char('!')) && !m_refreshing) ListNames();
}

void frmMain::jumpToNode(const QString& typed) {
    for (QTreeWidgetItem* node : m_nodesInOrder) {
        if (node->text(0).startsWith(typed)) {
            const QSignalBlocker quiet(m_ui->tvArea);
            m_ui->tvArea->setCurrentItem(node);
            m_ui->tvArea->scrollToItem(node);
            m_ui->tvArea->viewport()->update();
            return;
        }
    }
}
