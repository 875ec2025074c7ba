#include "widgets/Infozeilen.h"

#include "widgets/Steuerelemente.h"

#include <QTimer>

Infozeilen::Infozeilen(QWidget* flaeche) : QObject(flaeche)
{
    TextFeld = new Beschriftung(flaeche, "Informationen", schrift("Times New Roman", 9.75, true), 0x000000);
    platziere(TextFeld, "TextFeld", 120, 7920, 12855, 735);
    TextFeld2 = new Beschriftung(flaeche, "Informationen", schrift("Times New Roman", 8.25), 0x000000);
    platziere(TextFeld2, "TextFeld2", 10200, 240, 3855, 855);
    for (auto* l : {TextFeld, TextFeld2})
        l->setWordWrap(true);
    // Labels are read by their text; the description says what they are for when they are empty.
    TextFeld->setAccessibleDescription("Informationen");
    TextFeld2->setAccessibleDescription("Hinweise");
}

void Infozeilen::info(const QString& text) { TextFeld->setText(text); }

void Infozeilen::hinweis(const QString& text) { TextFeld2->setText(text); }

void Infozeilen::hinweisFuer(const QString& text, int ms)
{
    const QString vorher = TextFeld2->text();
    TextFeld2->setText(text);
    QTimer::singleShot(ms, TextFeld2, [this, text, vorher] {
        if (TextFeld2->text() == text)
            TextFeld2->setText(vorher);
    });
}
