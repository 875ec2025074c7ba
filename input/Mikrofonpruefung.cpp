#include "input/Mikrofonpruefung.h"

#include "widgets/Bilder.h"
#include "widgets/DickerWinRand.h"
#include "widgets/Steuerelemente.h"
#include "widgets/ZentriereForm.h"
#include "widgets/Verlassen.h"
#include "input/Notenerkennung.h"
#include "kern/Notenmodell.h"

#include <QListWidget>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

constexpr int Breite = 6000, Hoehe = 5460; // twips
constexpr int Ruhe_ms = 1000;
constexpr int Hoechstens_Zeilen = 50;
constexpr int Pegelschritte = 100;
constexpr quint32 Pegelfarbe = 0x00C000; // as the main window's level bar

// The level the detection reports (0..1) in dBFS.
double inDb(double pegel)
{
    return Notenerkennung::Pegel_Boden_dB * (1 - std::clamp(pegel, 0.0, 1.0));
}

} // namespace

Mikrofonpruefung::Mikrofonpruefung(Mikrofon& mikro, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_mikro(mikro)
{
    setObjectName("Mikrofonprüfung");
    setWindowTitle("Mikrofon prüfen");
    setAccessibleName("Mikrofon prüfen");
    setFixedSize(tw(Breite), tw(Hoehe));
    setFont(schrift("Arial", 9.75, true));

    Hinweis = new Beschriftung(this, "Das Mikrofon wird geöffnet …", font(), 0x000000);
    platziere(Hinweis, "Hinweis", 240, 240, 5520, 615);
    Hinweis->setWordWrap(true);

    Pegel = new QProgressBar(this);
    platziere(Pegel, "Pegel", 240, 960, 5520, 300);
    Pegel->setRange(0, Pegelschritte);
    Pegel->setValue(0);
    Pegel->setTextVisible(false);
    Pegel->setAccessibleName("Mikrofonpegel");
    QPalette p = Pegel->palette();
    p.setColor(QPalette::Highlight, farbe(Pegelfarbe));
    Pegel->setPalette(p);

    Schwelle = new Beschriftung(this, QString(), font(), 0x000000);
    platziere(Schwelle, "Schwelle", 240, 1380, 5520, 375);

    Gehoert = new QListWidget(this);
    platziere(Gehoert, "Gehoert", 240, 1860, 5520, 2700);
    Gehoert->setAccessibleName("Gehörte Töne");

    Verlassen = baueVerlassen(this, 4545, 4800);
    Verlassen->setToolTip("Verlassen der Mikrofonprüfung.");
    connect(Verlassen, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });

    connect(&m_mikro, &Mikrofon::pegel, this, &Mikrofonpruefung::zeigePegel);
    connect(&m_mikro, &Mikrofon::hoertZu, this, [this] {
        if (m_phase == Phase::Oeffnen)
            starteRuhe();
    });
    connect(&m_mikro, &Mikrofon::keinMikrofon, this, [this] {
        m_phase = Phase::Aus;
        Hinweis->setText("Kein Mikrofon gefunden.");
    });
    connect(&m_mikro, &Mikrofon::getrennt, this, [this] {
        m_phase = Phase::Aus;
        Hinweis->setText("Das Mikrofon wurde getrennt.");
    });
    connect(&m_mikro, &Mikrofon::befund, this, &Mikrofonpruefung::neuerBefund);

    m_mikro.pruefungAn();
    if (m_mikro.hoert())
        starteRuhe();
    Zentriere(*this, 4);
    Setze_DickerRand(*this);
}

Mikrofonpruefung::~Mikrofonpruefung() { m_mikro.pruefungAus(); }

QString Mikrofonpruefung::Zeile(Mikrofon::Befund art, int note, int cent)
{
    switch (art) {
    case Mikrofon::Befund::Note:
        return QString("%1   %2 Cent")
            .arg(Noten::Tastenname(Noten::tasteFuerMidinote(note)), QString::asprintf("%+d", cent));
    case Mikrofon::Befund::ZuLeise:
        return "Zu leise.";
    case Mikrofon::Befund::KeinKlarerTon:
        return "Kein klarer Ton.";
    case Mikrofon::Befund::Ausserhalb:
        return Noten::Ausserhalb_Hinweis;
    case Mikrofon::Befund::Lautsprecher:
        return "Der Lautsprecher klang noch.";
    }
    return {};
}

void Mikrofonpruefung::starteRuhe()
{
    m_phase = Phase::Ruhe;
    m_lautesteRuhe = 0;
    Hinweis->setText("Bitte einen Moment Ruhe …");
    QTimer::singleShot(Ruhe_ms, this, [this] { beendeRuhe(); });
}

void Mikrofonpruefung::beendeRuhe()
{
    if (m_phase != Phase::Ruhe)
        return;
    m_phase = Phase::Spielen;
    const double ruhe = inDb(m_lautesteRuhe);
    m_mikro.setzeStille(ruhe);
    emit ruheGemessen(ruhe);
    Schwelle->setText(QString("Ruhe: %1 dB. Eine Note muss über %2 dB kommen.")
                          .arg(std::lround(ruhe))
                          .arg(std::lround(Notenerkennung::wirksameStille(ruhe))));
    Hinweis->setText("Bitte ein paar Tasten spielen.");
}

void Mikrofonpruefung::zeigePegel(double wert)
{
    Pegel->setValue(int(std::lround(std::clamp(wert, 0.0, 1.0) * Pegelschritte)));
    if (m_phase == Phase::Ruhe)
        m_lautesteRuhe = std::max(m_lautesteRuhe, wert);
}

void Mikrofonpruefung::neuerBefund(Mikrofon::Befund art, int note, int cent)
{
    if (m_phase != Phase::Spielen)
        return;
    if (Gehoert->count() >= Hoechstens_Zeilen)
        delete Gehoert->takeItem(0);
    Gehoert->addItem(Zeile(art, note, cent));
    Gehoert->setCurrentRow(Gehoert->count() - 1);
}
