#include "MainWindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "frmMain.h"

namespace {

constexpr int kSubscribers = 20000;

QString binDir() {
    const QString env = qEnvironmentVariable("TELVIA_BIN_DIR");
    return env.isEmpty() ? QStringLiteral(TELVIA_BIN_DIR) : env;
}

}  // namespace

QString sampleRoot() {
    // One directory per test process, removed when the process ends.
    static QTemporaryDir dir;
    static QString root;
    static bool tried = false;
    if (tried) return root;
    tried = true;
    const QString out = dir.filePath(QStringLiteral("sample"));
    QProcess gen;
    gen.setProcessChannelMode(QProcess::MergedChannels);
    gen.start(binDir() + QStringLiteral("/telvia-sample"),
              {QStringLiteral("--subscribers"), QString::number(kSubscribers),
               QStringLiteral("--seed"), QStringLiteral("11"), QStringLiteral("--out"), out});
    if (!gen.waitForFinished(120000) || gen.exitCode() != 0) {
        ADD_FAILURE() << "telvia-sample failed: " << gen.readAll().toStdString();
        return root;
    }
    root = out;
    return root;
}

namespace {

QList<QStringList> readTsv(const QString& file) {
    QList<QStringList> rows;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return rows;
    f.readLine();  // the header
    while (!f.atEnd()) {
        QString line = QString::fromUtf8(f.readLine());
        while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (!line.isEmpty()) rows << line.split(QLatin1Char('\t'));
    }
    return rows;
}

}  // namespace

QStringList SampleListing::shownCells(const QString& dongWords) const {
    QString lot;
    if (lotMain != "0" && lotSub != "0")
        lot = lotMain + "-" + lotSub;
    else if (lotMain != "0")
        lot = lotMain;
    else if (lotSub != "0")
        lot = lotSub;
    const QString tel = "(" + area + ")" + exchange + "-" +
                        QStringLiteral("%1").arg(line.toInt(), 4, 10, QLatin1Char('0')) +
                        (suffix != "0" ? "/" + suffix : QString());
    return {name, tel, postal.left(3) + "-" + postal.right(3),
            dongWords + " " + lot + " " + detail};
}

const std::vector<SampleListing>& sampleListings() {
    static const std::vector<SampleListing> listings = [] {
        std::vector<SampleListing> out;
        for (const QStringList& f : readTsv(sampleRoot() + "/listings/LISTINGS.tsv")) {
            if (f.size() < 10) continue;
            out.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]});
        }
        return out;
    }();
    return listings;
}

const QHash<QString, QString>& sampleDongWords() {
    static const QHash<QString, QString> words = [] {
        QHash<QString, QString> out;
        for (const QStringList& f : readTsv(sampleRoot() + "/listings/DONGS.tsv")) {
            if (f.size() >= 3) out.insert(f[0], f[2]);
        }
        return out;
    }();
    return words;
}

std::vector<QStringList> expectedNameRows(const QString& name,
                                          const std::function<bool(const QString&)>& inArea) {
    std::vector<QStringList> rows;
    for (const SampleListing& l : sampleListings()) {
        if (l.name != name || !inArea(l.dong)) continue;
        if (l.dong == "10010101" && l.detail == QStringLiteral("텔비아 견본 가입자")) continue;
        rows.push_back(l.shownCells(sampleDongWords().value(l.dong)));
    }
    return rows;
}

void typeText(QWidget* target, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &release);
    }
}

modLoadProgram::StartOptions sampleStartOptions(const QString& root, const QString& lockPath) {
    modLoadProgram::StartOptions o;
    o.programDirectory = root + QStringLiteral("/program");
    o.instanceLockPath = lockPath;
    o.mountTable = QStringLiteral("/dev/null");  // no optical mounts: the CD is a folder
    o.controlLibrary = binDir() + QStringLiteral("/Zendari20.so");
    return o;
}

void MainWindowFixture::SetUp() {
    ASSERT_TRUE(m_tmp.isValid());
    ASSERT_FALSE(sampleRoot().isEmpty());
    qputenv("WINDIR", (sampleRoot() + QStringLiteral("/windows")).toUtf8());
    qputenv("TELVIA_CDROM_DIRS", (sampleRoot() + QStringLiteral("/cd/")).toUtf8());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_tmp.filePath("settings"));
    m_promptInstalled = std::make_unique<PromptInstaller>(m_prompt);
    m_shellInstalled = std::make_unique<ShellInstaller>(m_shell);
}

void MainWindowFixture::TearDown() {
    // The window goes before the prompt it may still ask through.
    m_session.mainWindow.reset();
    m_session.splash.reset();
    m_shellInstalled.reset();
    m_promptInstalled.reset();
}

bool MainWindowFixture::start(const QString& programDirectory) {
    modLoadProgram::StartOptions options =
        sampleStartOptions(sampleRoot(), m_tmp.filePath("Halvern.lock"));
    if (!programDirectory.isEmpty()) options.programDirectory = programDirectory;
    const auto result = modLoadProgram::StartProgram(m_session, options);
    EXPECT_EQ(result, modLoadProgram::StartResult::kRunning);
    return result == modLoadProgram::StartResult::kRunning && m_session.mainWindow;
}

QTreeWidget* MainWindowFixture::tree() {
    return child<QTreeWidget>("tvArea");
}

QTreeWidgetItem* MainWindowFixture::node(const QString& key) {
    for (QTreeWidgetItemIterator it(tree()); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == key) return *it;
    }
    return nullptr;
}

void MainWindowFixture::clickNode(const QString& key) {
    QTreeWidgetItem* n = node(key);
    ASSERT_NE(n, nullptr) << key.toStdString();
    for (QTreeWidgetItem* up = n->parent(); up; up = up->parent()) up->setExpanded(true);
    tree()->scrollToItem(n);
    const QRect where = tree()->visualItemRect(n);
    ASSERT_TRUE(where.isValid()) << key.toStdString();
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, where.center());
    ASSERT_EQ(tree()->currentItem(), n) << key.toStdString();
}

QAction* MainWindowFixture::toolbarAction(const char* key) {
    return window().findChild<QAction*>(QStringLiteral("Toolbar1_") + QLatin1String(key));
}

void MainWindowFixture::clickToolbar(const char* key) {
    QAction* action = toolbarAction(key);
    ASSERT_NE(action, nullptr) << key;
    QWidget* button = child<QToolBar>("Toolbar1")->widgetForAction(action);
    ASSERT_NE(button, nullptr) << key;
    QTest::mouseClick(button, Qt::LeftButton);
}

void MainWindowFixture::click(const char* button) {
    auto* b = child<QAbstractButton>(button);
    ASSERT_NE(b, nullptr) << button;
    ASSERT_TRUE(b->isVisible()) << button << " is not on show";
    QTest::mouseClick(b, Qt::LeftButton);
}

void MainWindowFixture::chooseFromMenu(QMenu* menu, QAction* item) {
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(item, nullptr);
    menu->popup(window().mapToGlobal(QPoint(40, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const QRect where = menu->actionGeometry(item);
    ASSERT_TRUE(where.isValid());
    QTest::mouseClick(menu, Qt::LeftButton, {}, where.center());
    if (menu->isVisible()) menu->hide();  // a disabled item leaves the menu open
}

void MainWindowFixture::saveSetting(const QString& section, const QString& key,
                                    const QString& value) {
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Telvia"),
              QStringLiteral("Orvello"))
        .setValue(section + QLatin1Char('/') + key, value);
}
