#include "app/forms/form_fields.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include "platform/text_encoding.h"

namespace qelto::app::forms {

QString catalogText(const platform::LanguageCatalog& texts, int id) {
    return QString::fromStdString(texts.text(id));
}

QString fromRecordText(std::string_view latin1) {
    return QString::fromStdString(platform::latin1ToUtf8(latin1));
}

std::string toRecordText(const QString& text) {
    return platform::utf8ToLatin1(text.toStdString()).value_or(std::string{});
}

QSpinBox* numberBox(int min, int max, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(min, max);
    box->setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QSpinBox* numberBox(const model::FieldInfo& field, QWidget* parent) {
    return numberBox(static_cast<int>(field.min), static_cast<int>(field.max), parent);
}

QWidget* minSecPair(QSpinBox* minutes, QSpinBox* seconds, QWidget* parent) {
    auto* pair = new QWidget(parent);
    auto* row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(minutes);
    row->addWidget(new QLabel(QStringLiteral(":"), pair));
    row->addWidget(seconds);
    row->addStretch(1);
    return pair;
}

}  // namespace qelto::app::forms
