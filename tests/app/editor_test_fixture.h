// One editor pane over a fresh document with the English texts, and prompts a test answers.
#pragma once

#include <QString>
#include <QStringList>
#include <QTreeWidgetItem>
#include <memory>
#include <optional>

#include "app/editor/editor_pane.h"
#include "app/editor/nav_tree.h"
#include "model/qelto_doc.h"
#include "platform/builtin_catalog.h"
#include "platform/language_catalog.h"

namespace qelto::test {

struct EditorFixture {
    explicit EditorFixture(bool american = false)
        : texts(platform::LanguageCatalog::parse(platform::builtinEnglishCatalog())) {
        doc.onNewDocument();
        pane = std::make_unique<app::EditorPane>(doc, texts, american);
        pane->resize(900, 640);
        app::EditorPrompts prompts;
        prompts.confirm = [this](const QString& question) {
            questions << question;
            return answerYes;
        };
        prompts.inform = [this](const QString& message) { messages << message; };
        prompts.askName = [this](const QString&, const QString& current) {
            offeredName = current;
            return typedName;
        };
        pane->tree()->setPrompts(prompts);
    }

    app::NavTree* tree() const { return pane->tree(); }
    void select(QTreeWidgetItem* item) const { tree()->setCurrentItem(item); }

    model::CProgData config;
    model::NoPumpNameDefaults names;
    model::CQeltoDoc doc{config, names};
    platform::LanguageCatalog texts;
    std::unique_ptr<app::EditorPane> pane;

    bool answerYes = true;
    std::optional<QString> typedName;
    QString offeredName;
    QStringList questions;
    QStringList messages;
};

}  // namespace qelto::test
