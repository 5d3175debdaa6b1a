#include "app/comms/older_unit_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/shell/shell_texts.h"

namespace qelto::app {
namespace {

constexpr int kTextTalking = 3632;  // %s: the port

}  // namespace

OlderUnitDialog::OlderUnitDialog(OlderUnitSetup setup, QWidget* parent)
    : QDialog(parent),
      setup_(std::move(setup)),
      panel_(new OperationStatusPanel(1, this)),
      prompts_(setup_.texts, setup_.answers, this, *panel_, {}),
      worker_(this) {
    setObjectName(QStringLiteral("olderUnitDialog"));
    setWindowTitle(uiText(setup_.texts, setup_.titleId).remove(QLatin1Char('&')));
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    panel_->setMinimumWidth(360);
    layout->addWidget(panel_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    cancel_ = box->button(QDialogButtonBox::Cancel);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    connect(cancel_, &QPushButton::clicked, this, &OlderUnitDialog::reject);
    layout->addWidget(box);
}

OlderUnitDialog::~OlderUnitDialog() {
    if (worker_.busy()) {
        setup_.session.cancel();
    }
    prompts_.abandon();
    // worker_ is destroyed first of the members and waits for the operation.
}

bool OlderUnitDialog::start() {
    comms::UnitSession& session = setup_.session;
    session.clearCancel();
    panel_->showStatus(
        uiText(setup_.texts, kTextTalking)
            .replace(QStringLiteral("%s"), QString::fromStdString(session.settings().serialPort)));
    const std::function<void(model::DocHint)> refresh = [this](model::DocHint) {
        prompts_.ask<bool>(false, [this](QWidget*) {
            if (setup_.refreshViews) {
                setup_.refreshViews();
            }
            return true;
        });
    };
    const bool started = worker_.start(
        [this, &session, refresh] {
            outcome_ = session.runLegacy(setup_.doc, prompts_, setup_.operation, refresh,
                                         setup_.recording);
        },
        [this] { finished(); });
    if (started) {
        open();
    }
    return started;
}

void OlderUnitDialog::finished() {
    const comms::SessionOutcome outcome = std::move(outcome_);
    hide();
    if (outcome.end == comms::SessionEnd::NotOpened) {
        constexpr int kTextPortClosed = 3633;  // %s: why
        setup_.answers.message(
            parentWidget(),
            uiText(setup_.texts, kTextPortClosed)
                .replace(QStringLiteral("%s"), QString::fromStdString(outcome.error)),
            comms::MessageIcon::Warning, QStringLiteral("Qelto"));
    } else if (!outcome.result.differences.empty() &&
               outcome.result.status != comms::OperationStatus::Cancelled) {
        setup_.answers.showDifferences(parentWidget(), outcome.result.differences);
    }
    if (setup_.done) {
        setup_.done(outcome);
    }
    deleteLater();
}

void OlderUnitDialog::reject() {
    if (!worker_.busy()) {
        return;  // the operation's end closes the dialog
    }
    setup_.session.cancel();
    prompts_.abandon();
    cancel_->setEnabled(false);
}

}  // namespace qelto::app
