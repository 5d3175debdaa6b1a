// The report view over the main window: a document's page with its cell tags hidden, the edited
// comment escaped into the page and its cell, and clearing that asks first.
#include "app/report/report_view.h"

#include <QAction>
#include <QFileInfo>
#include <QTest>
#include <QTextBrowser>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/report/report_commands.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "app_test_env.h"
#include "screen_shots.h"
#include "shell_fake_prompts.h"

namespace qelto::test {
namespace {

std::string readAll(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

class ReportViewTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() {
        std::filesystem::remove(platform::settingsFile());
        auto catalog = platform::LanguageCatalog::loadForSetting(1);
        platform::SettingsStore store;
        context_ = std::make_unique<app::ShellContext>(store, store.load(), std::move(*catalog));
        prompts_ = FakePrompts();
        window_ = std::make_unique<app::MainWindow>(*context_, prompts_);
        commands_ = std::make_unique<app::ReportCommands>(*window_, *context_, prompts_);
        view_ = commands_->view();
        window_->resize(1100, 820);
        window_->show();
    }
    void cleanup() {
        commands_.reset();
        window_.reset();
    }

    void anEditedCommentIsEscapedAndClearingWithCancelKeepsIt() {
        window_->findChild<QAction*>(QStringLiteral("reportOfDocument"))->trigger();
        const QString original = view_->pagePath();
        QString shownToEditor;
        view_->setCommentEditor([&](QWidget*, const QString& comment) {
            shownToEditor = comment;
            return std::optional<QString>(QStringLiteral("Pump 2 <script>x</script>\nTube & clip"));
        });
        QVERIFY(view_->editComment());
        QVERIFY(view_->isModified());
        const QString copy = view_->pagePath();
        QVERIFY(copy != original);
        const std::string page = readAll(copy);
        QVERIFY(page.find("Pump 2 &lt;script&gt;x&lt;/script&gt;<BR>Tube &amp; clip") !=
                std::string::npos);
        QVERIFY(page.find("<script>") == std::string::npos);
        QVERIFY(
            view_->browser()->toPlainText().contains(QStringLiteral("Pump 2 <script>x</script>")));

        // The edit reaches the spreadsheet's cell too, and comes back as lines.
        QVERIFY(page.find("CELL=\"A100\" CONTENT=\"Pump 2 (script)x(/script);  Tube + clip\""
                          "></EXCEL>") != std::string::npos);
        QVERIFY2(page.find("</EXCEL></EXCEL>") == std::string::npos, "one closing per tag");
        QVERIFY(view_->editComment());
        QCOMPARE(shownToEditor, QStringLiteral("Pump 2 <script>x</script>\nTube & clip"));
        QVERIFY2(!QFileInfo::exists(copy), "a second edit replaces the first copy");

        prompts_.answers = {app::Answer::Cancel};
        const QString edited = view_->pagePath();
        QVERIFY(!view_->clearReport());
        QCOMPARE(prompts_.asked.size(), 1);
        QCOMPARE(view_->pagePath(), edited);
        QVERIFY(view_->isModified());
        QVERIFY(QFileInfo::exists(edited));

        prompts_.answers = {app::Answer::No};
        QVERIFY(view_->clearReport());
        QVERIFY(!view_->isModified());
        QVERIFY(!QFileInfo::exists(edited));
        QVERIFY(view_->pagePath().isEmpty());
    }

    void aDocumentsPageShowsWithoutItsCellTags() {
        model::setText(context_->config.customerName1, "Hotel & Spa");
        window_->findChild<QAction*>(QStringLiteral("reportOfDocument"))->trigger();
        QCOMPARE(window_->currentViewIndex(), static_cast<int>(app::kReportSlot));
        const QString shown = view_->browser()->toPlainText();
        QVERIFY(shown.contains(QStringLiteral("Hotel & Spa")));
        QVERIFY2(!shown.contains(QStringLiteral("EXCEL")), "cell tags must not show");
        QVERIFY(window_->grab().save(shotPath(env_.path(), QStringLiteral("report_view"))));
    }

  private:
    AppTestEnv env_;
    std::unique_ptr<app::ShellContext> context_;
    FakePrompts prompts_;
    std::unique_ptr<app::MainWindow> window_;
    std::unique_ptr<app::ReportCommands> commands_;
    app::ReportView* view_ = nullptr;
};

}  // namespace qelto::test

QTEST_MAIN(qelto::test::ReportViewTest)
#include "report_view_test.moc"
