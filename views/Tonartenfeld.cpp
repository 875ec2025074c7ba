#include "views/Tonartenfeld.h"

#include "kern/Haupt.h"
#include "kern/Tonartentabelle.h"
#include "views/Befehlsleiste.h"
#include "views/Befehlstabelle.h"
#include "views/Notensystem.h"
#include "widgets/Bildablage.h"
#include "widgets/Infozeilen.h"
#include "widgets/Menues.h"
#include "widgets/Steuerelemente.h"

#include <QActionGroup>
#include <QMenu>

namespace {

constexpr std::array<KnopfZeile, 3> VorzeichenTabelle{{
    {"#", 4920, 2760, 375, 405, 0xFF8080, "Ton erhöhen/erniedrigen"},
    {"b", 4920, 3720, 375, 405, 0xFF8080, "Ton erhöhen/erniedrigen"},
    {"X", 4560, 3240, 375, 405, 0xFF8080, "Ton erhöhen/erniedrigen"},
}};
enum Vorzeichenknopf { Kreuz, Be, Keine };

struct Farbsatz
{
    quint32 weiss, weiss_aus, schwarz, schwarz_aus;
};
constexpr std::array<Farbsatz, 4> Farbsaetze{{
    {0xD5ECF2, 0xFFCEC2, 0x000000, 0x404040},
    {0xFFFFFF, 0xD5ECF2, 0x000000, 0x404040},
    {0x000000, 0x404040, 0xFFFFFF, 0x404040},
    {0xFF0000, 0x70543D, 0xFFFF80, 0xD6D6D6},
}};

} // namespace

Tonartenfeld::Tonartenfeld(QWidget* f, Haupt& haupt, Infozeilen& info, Befehlsleiste& befehle, Notensystem& system)
    : QObject(f), m_haupt(haupt), m_info(info), m_befehle(befehle), m_system(system)
{
    baueVorzeichen(f);
    bauePanel(f);
}

void Tonartenfeld::baueVorzeichen(QWidget* f)
{
    // Accidental buttons, their sign panel and the cover that hides them.
    for (int i = 0; i < 3; ++i) {
        Funktion1[i] = neuerKnopf(f, VorzeichenTabelle[i], arrayName("Funktion1", i), 9.75);
        connect(Funktion1[i], &QPushButton::clicked, this, [this, i] { Funktion1_Click(i); });
    }
    Picture5_0 = new Feld(f, 0xFFFFFF);
    platziere(Picture5_0, "Picture5(0)", 4920, 3120, 375, 615);
    Picture5_0->setAccessibleName("Gewählte Vorzeichen");
    Image5 = new Bild(Picture5_0, "kreuz");
    platziere(Image5, "Image5", 120, 120, 120, 345);
    Image5->setAccessibleName("Kreuz");
    Image6 = new Bild(Picture5_0, "be");
    platziere(Image6, "Image6", 120, 120, 120, 345);
    Image6->setAccessibleName("Be");
    AbdeckFeld = new Feld(f, 0xFFFFFF);
    platziere(AbdeckFeld, "AbdeckFeld", 4440, 2760, 855, 1455);
    AbdeckFeld->setAccessibleName("Abdeckung der Vorzeichentasten");
}

void Tonartenfeld::bauePanel(QWidget* f)
{
    Picture1 = new Feld(f, 0xFFFFFF);
    platziere(Picture1, "Picture1", 240, 240, 1215, 1095);
    Picture1->setAccessibleName("Tonart");
    Image1 = new Bild(Picture1, "tonart_leer");
    platziere(Image1, "Image1", 120, 120, 975, 855);
    Image1->setNatuerlicheGroesse(true);
    Image1->setAccessibleName("Vorzeichen der Tonart");
    TonartText = new Beschriftung(f, "Tonart", schrift("Arial", 14.25), 0x0000FF);
    platziere(TonartText, "TonartText", 240, 1320, 1215, 375);
    TonartText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    TonartText->setWordWrap(true);
    TonartText->setAccessibleDescription("Name der Tonart");
}

void Tonartenfeld::fuelleMenue(QMenu* m)
{
    mnu_Tonarten = m;
    m_gruppe = new QActionGroup(this);
    m_gruppe->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (int i = 0; i < Tonarten::Menue::Anzahl; ++i) {
        const QString name = arrayName("mnu_EinzelneTonarten", i);
        const auto klick = [this, i] { mnu_EinzelneTonarten_Click(i); };
        QAction* a = nullptr;
        if (i < int(Tonarten::Tabelle.size()))
            a = neuerEintrag(m, name, Tonarten::Tabelle[i].menue, QKeySequence(Tonarten::Tabelle[i].taste), this, klick);
        else if (i < Tonarten::Menue::Trennlinie) {
            a = neuerEintrag(m, name, Tonarten::NieAngeboten[i - Tonarten::Tabelle.size()], {}, this, klick);
            a->setVisible(false);
            a->setEnabled(false);
        } else if (i == Tonarten::Menue::Trennlinie)
            a = m->addSeparator();
        else
            a = neuerEintrag(m, name, "alle Tasten", QKeySequence(Tonarten::AlleTastenTaste), this, klick);
        a->setObjectName(name);
        m_gruppe->addAction(a);
    }
}

void Tonartenfeld::fuelleFarbwahl(QMenu* m)
{
    for (int i = 0; i < 4; ++i)
        neuerEintrag(m, arrayName("mnu_Farbwahl", i), QString("Tastenfarbwahl %1").arg(i + 1),
                     QKeySequence(QString("F%1").arg(i + 1)), this, [this, i] { mnu_Farbwahl_Click(i); });
}

void Tonartenfeld::setzeModus(Modus modus)
{
    const bool lernen = modus == Modus::Lernen;
    Picture1->setVisible(!lernen);
    if (lernen)
        AbdeckFeld->show();
    // The group keeps the four never-offered entries disabled when the menu comes back.
    mnu_Tonarten->setEnabled(!lernen);
    m_gruppe->setEnabled(!lernen);
}

Bildablage& Tonartenfeld::Ablage_Tonarten()
{
    if (!m_Ablage_Tonarten) {
        // One picture per signature of the table, named by it, and the empty one.
        std::vector<std::pair<QString, QString>> bilder;
        for (const auto& t : Tonarten::Tabelle)
            bilder.emplace_back(t.bild, QString("tonart_") + QString(t.bild).toLower());
        bilder.emplace_back(Tonarten::LeerBild, QString("tonart_") + Tonarten::LeerBild);
        m_Ablage_Tonarten = new Bildablage(Picture1->window(), "Ablage_Tonarten", bilder);
    }
    return *m_Ablage_Tonarten;
}

void Tonartenfeld::mnu_EinzelneTonarten_Click(int i)
{
    if (!m_haupt.Lern_Modus) {
        setzeFreie(Eingang::alleTasten());
        m_system.zeigeName(QString());
    }
    m_befehle.zeigeTonartwahl(true);
    m_haupt.Tonart = "keine Tonart";
    m_befehle.Funktion_Click(Befehl::TBetont);
    AbdeckFeld->show();
    m_info.hinweis("Nicht gebrauchte Tasten werden deaktiviert.");
    TonartText->show();
    if (i >= 0 && i < int(Tonarten::Tabelle.size())) {
        const Tonarten::Tonart& t = Tonarten::Tabelle[i];
        Image1->setBild(Ablage_Tonarten().bild(t.bild));
        m_haupt.Tonart = t.name;
        Setze_Tonart();
        m_haupt.Tonart_Info = t.info;
    } else if (i == Tonarten::Menue::AlleTasten) {
        Do_alle_Tasten();
    }
    TonartText->setText(m_haupt.Tonart);
    m_info.info(m_haupt.Tonart_Info);
}

void Tonartenfeld::Setze_Tonart()
{
    if (const Tonarten::Tonart* t = Tonarten::finde(m_haupt.Tonart))
        setzeFreie(Eingang::tastenDer(*t));
}

void Tonartenfeld::Do_T_Farbe_normal()
{
    setzeFreie(Eingang::alleTasten());
    m_info.hinweis("Die Tasten sind auf normale wiedergabe gestellt.");
}

void Tonartenfeld::Do_T_Farbe_anders()
{
    setzeFreie(Eingang::alleTasten());
    Setze_Tonart();
    m_info.hinweis("Die Tasten sind so eingestellt, dass die abgestellt sind, die man nicht drücken darf.");
}

void Tonartenfeld::Do_alle_Tasten()
{
    m_befehle.zeigeTonartwahl(false);
    Image1->setBild(Ablage_Tonarten().bild(Tonarten::LeerBild));
    m_haupt.Tonart = "keine Tonart";
    setzeFreie(Eingang::alleTasten());
    TonartText->hide();
    AbdeckFeld->hide();
    m_haupt.Tonart_Info = Tonarten::AlleTastenInfo;
    m_info.hinweis("Alle Tasten sind aktiviert. Keine Tonart ist eingestellt.");
    Funktion1_Click(Kreuz);
}

void Tonartenfeld::loescheText() { TonartText->setText(QString()); }

void Tonartenfeld::Schwarze_Tasten_aus() { setzeFreie(m_frei & Eingang::weisseTasten()); }

void Tonartenfeld::setzeFreie(const Eingang::Tasten& frei)
{
    m_frei = frei;
    emit freieTasten(frei);
}

void Tonartenfeld::Funktion1_Click(int i)
{
    static constexpr std::array<const char*, 3> zeichen{"#", "b", "X"};
    static constexpr std::array<const char*, 3> text{
        "“#” wurde gewählt. Alle schwarzen Tasten zeigen die erhöhten Noten.",
        "“b” wurde gewählt. Alle schwarzen Tasten zeigen die erniedrigten Noten.",
        "Schwarze Tasten abgeschaltet.",
    };
    if (i < 0 || i > 2)
        return;
    if (i == Keine)
        Schwarze_Tasten_aus();
    else
        setzeFreie(Eingang::alleTasten());
    m_haupt.Vorzeichen = zeichen[i];
    Image5->setVisible(i == Kreuz);
    Image6->setVisible(i == Be);
    m_info.hinweis(text[i]);
}

void Tonartenfeld::mnu_Farbwahl_Click(int i)
{
    if (i < 0 || i > 3)
        return;
    const Farbsatz& f = Farbsaetze[i];
    m_haupt.Farbe_Weiss = f.weiss;
    m_haupt.Farbe_Weiss_aus = f.weiss_aus;
    m_haupt.Farbe_Schwarz = f.schwarz;
    m_haupt.Farbe_Schwarz_aus = f.schwarz_aus;
    mnu_EinzelneTonarten_Click(Tonarten::Menue::Trennlinie); // no signature: all keys in the new colours
    Funktion1_Click(Kreuz);
}
