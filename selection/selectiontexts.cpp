// The fixed texts of the selection window from the text table. Core layer (fylcore).
#include "selection/selectiontexts.h"

namespace fyl {

Form2Texts form2CreationTexts(const TextTable& texts) {
    Form2Texts t;
    t.title = texts.text(50);
    for (std::size_t i = 0; i < form2::kEntries.size(); ++i)
        t.controls.setText(static_cast<form2::Text>(i), texts.text(form2::kEntries[i]));
    const QString countHeading = texts.text(68) + QStringLiteral("  ") + texts.text(65);
    t.controls.setText(form2::Label25, countHeading);
    t.controls.setText(form2::Label33, countHeading);
    return t;
}

QString slotGroupTitle(const QString& groupText, const QString& type) {
    QString design = groupText.left(groupText.indexOf(QLatin1Char('('))).simplified();
    if (type.trimmed().isEmpty())
        return design;
    return design + QStringLiteral(" (") + type.trimmed() + QLatin1Char(')');
}

} // namespace fyl
