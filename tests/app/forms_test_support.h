// What the form tests share: the English catalog, typing into a number box as a person does, and
// answering the dialogs a form opens (they are modal, so a timer answers them from inside their
// own event loop).
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpinBox>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include "platform/builtin_catalog.h"
#include "platform/language_catalog.h"

namespace qelto::test {

inline platform::LanguageCatalog englishTexts() {
    if (auto catalog = platform::LanguageCatalog::loadForSetting(1)) {
        return std::move(*catalog);
    }
    return platform::LanguageCatalog::parse(platform::builtinEnglishCatalog());
}

// Selects what the box shows, types text and presses Return, as a person would.
inline void typeInto(QAbstractSpinBox* box, const QString& text) {
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

// Answers every modal dialog: the password dialog with password, questions with yes,
// messages with OK. Remembers the texts it was shown.
class DialogAnswers : public QObject {
  public:
    explicit DialogAnswers(int password = 0) : password_(password) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start();
    }

    const QStringList& shown() const { return shown_; }

  private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            shown_ << input->labelText();
            input->setIntValue(password_);
            input->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown_ << box->text();
            QAbstractButton* button = box->button(QMessageBox::Yes);
            if (button == nullptr) {
                button = box->button(QMessageBox::Ok);
            }
            button->click();
        }
    }

    QTimer timer_;
    int password_;
    QStringList shown_;
};

}  // namespace qelto::test
