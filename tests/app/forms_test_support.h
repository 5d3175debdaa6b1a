// What the form tests share: the English catalog, typing into a number box as a person does,
// answering the dialogs a form opens (they are modal, so a timer answers them from inside their
// own event loop), and saving a picture of a form when QELTO_SHOT_DIR names a folder.
#pragma once

#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>

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

// Answers every modal dialog: the password dialog with password, questions with yes (or no),
// messages with OK. Remembers the texts it was shown.
class DialogAnswers : public QObject {
  public:
    explicit DialogAnswers(int password = 0) : password_(password) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start();
    }

    void sayNo() { yes_ = false; }
    // Runs with each message box before it is answered, to look at the window behind it.
    void onMessage(std::function<void()> look) { look_ = std::move(look); }
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
            if (look_) {
                look_();
            }
            QAbstractButton* button = box->button(yes_ ? QMessageBox::Yes : QMessageBox::No);
            if (button == nullptr) {
                button = box->button(QMessageBox::Ok);
            }
            button->click();
        }
    }

    QTimer timer_;
    int password_;
    bool yes_ = true;
    std::function<void()> look_;
    QStringList shown_;
};

inline void saveShot(QWidget& widget, const QString& name) {
    const QString dir = qEnvironmentVariable("QELTO_SHOT_DIR");
    if (dir.isEmpty()) {
        return;
    }
    QDir().mkpath(dir);
    widget.adjustSize();
    widget.grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace qelto::test
