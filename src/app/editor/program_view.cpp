#include "app/editor/program_view.h"

#include <QFormLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/editor/editor_texts.h"

namespace qelto::app {

ProgramView::ProgramView(EditorContext& context, QWidget* parent) : DetailView(context, parent) {
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(this);
    layout->addWidget(title_);
    auto* form = new QFormLayout;
    // Fields keep their natural width rather than running across a wide window.
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    numberLabel_ = new QLabel(this);
    name_ = new QLineEdit(this);
    name_->setMinimumWidth(260);
    form->addRow(numberLabel_, name_);
    layout->addLayout(form);
    auto* summaryTitle = new QLabel(ctx_.text(text::kProgramSummary), this);
    layout->addWidget(summaryTitle);
    summary_ = new QLabel(this);
    summary_->setTextFormat(Qt::RichText);
    layout->addWidget(summary_);
    layout->addStretch(1);
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        if (loading()) {
            return;
        }
        const int program = ctx_.selection.program();
        ctx_.config().progName[static_cast<std::size_t>(program)] = toRecord(typed);
        markEdited();
        Q_EMIT programNameChanged(program);
    });
}

void ProgramView::refresh() {
    const Loading guard(*this);
    const int program = ctx_.selection.program();
    const QString label = ctx_.text(text::kProgram);
    const QString number = QStringLiteral("%1").arg(program + 1, 2, 10, QLatin1Char('0'));
    title_->setText(QStringLiteral("<b>%1 %2</b>").arg(label, number));
    numberLabel_->setText(QStringLiteral("%1 %2:").arg(label, number));
    {
        const QSignalBlocker blocker(name_);
        name_->setText(fromRecord(ctx_.config().progName[static_cast<std::size_t>(program)]));
    }
    // One line per trigger: the pumps that dose in it.
    QString rows;
    const auto& enabled = ctx_.config().pumpEnabled[static_cast<std::size_t>(program)];
    for (unsigned t = 0; t < ctx_.triggerCount(); ++t) {
        QStringList pumps;
        for (unsigned i = 0; i < ctx_.pumpCount(); ++i) {
            if (enabled[t][i] != 0) {
                pumps << QString::number(i + 1);
            }
        }
        rows += QStringLiteral("<tr><td>%1 %2</td><td>&nbsp;&nbsp;%3</td></tr>")
                    .arg(ctx_.text(text::kTrigger))
                    .arg(t + 1)
                    .arg(pumps.isEmpty() ? QStringLiteral("-") : pumps.join(QStringLiteral(", ")));
    }
    summary_->setText(QStringLiteral("<table>%1</table>").arg(rows));
}

}  // namespace qelto::app
