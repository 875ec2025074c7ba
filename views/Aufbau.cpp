// The views' controls and menu entries: the command buttons, the note-name ladder, the accidental
// buttons with their cover, the key-signature panel; the Tonarten menu, the colour sets and the
// view options.
#include "keyboard/Keyboard.h"

#include "widgets/Menues.h"
#include "kern/Notenmodell.h"
#include "views/Befehlstabelle.h"
#include "kern/Tonartentabelle.h"

#include <QActionGroup>
#include <QMenu>

namespace {

// Note-name ladder aufLinie_Taste(i): Left and Top; the caption and colour are its note's.
struct LeiterZeile
{
    int left, top;
};
constexpr std::array<LeiterZeile, 23> LeiterTabelle{{
    {840, 4440}, {120, 4320}, {840, 4080}, {120, 3960}, {840, 3720}, {120, 3600}, {840, 3360}, {120, 3240},
    {840, 3000}, {120, 2880}, {840, 2640}, {120, 2520}, {840, 2280}, {120, 2160}, {840, 1920}, {120, 1800},
    {120, 4680}, {840, 4800}, {120, 5040}, {840, 5160}, {120, 5400}, {840, 5520}, {120, 5760},
}};

constexpr std::array<KnopfZeile, 3> VorzeichenTabelle{{
    {"#", 4920, 2760, 375, 405, 0xFF8080, "Ton erhöhen/erniedrigen"},
    {"b", 4920, 3720, 375, 405, 0xFF8080, "Ton erhöhen/erniedrigen"},
    {"X", 4560, 3240, 375, 405, 0xFF8080, "Ton erhöhen/erniedrigen"},
}};

} // namespace

void Keyboard::baueAnsichten(QWidget* f)
{
    for (int i = 0; i < 23; ++i) {
        const int weiss = Noten::Leiter_Weiss(i);
        auto* t = new Knopf(f, true, Noten::Oktavfarbe(weiss));
        t->setText(QString(QChar(Noten::Buchstabe(weiss))));
        t->setzeTw(LeiterTabelle[i].left, LeiterTabelle[i].top, 735, 285);
        t->setObjectName(arrayName("aufLinie_Taste", i));
        t->setFont(schrift("Arial", 12, true));
        connect(t, &QPushButton::clicked, this, [this, i] { aufLinie_Taste_Click(i); });
        t->beiBewegung = [this, i] { aufLinie_Taste_MouseMove(i); };
        aufLinie_Taste[i] = t;
    }
    for (int i = 0; i < Befehl::Anzahl; ++i) {
        const auto& z = Befehle::Tabelle[i];
        Funktion[i] = neuerKnopf(f, {z.caption, z.left, z.top, z.width, z.height, Befehle::Farbe, z.tooltip},
                                 arrayName("Funktion", i), 9.75);
        connect(Funktion[i], &QPushButton::clicked, this, [this, i] { Funktion_Click(i); });
        Funktion[i]->beiBewegung = [this, i] { Funktion_MouseMove(i); };
    }
    for (int i : {Befehl::TNormal, Befehl::ZeigMeine, Befehl::ZeigRichtige})
        Funktion[i]->hide();

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

    // The key-signature panel: its picture and its name.
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

void Keyboard::fuelleTonartenMenue(QMenu* m)
{
    m_tonartenGruppe = new QActionGroup(this);
    m_tonartenGruppe->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
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
        m_tonartenGruppe->addAction(a);
        mnu_EinzelneTonarten[i] = a;
    }
}

void Keyboard::fuelleFarbwahl(QMenu* m)
{
    for (int i = 0; i < 4; ++i)
        neuerEintrag(m, arrayName("mnu_Farbwahl", i), QString("Tastenfarbwahl %1").arg(i + 1),
                     QKeySequence(QString("F%1").arg(i + 1)), this, [this, i] { mnu_Farbwahl_Click(i); });
}

void Keyboard::fuelleAnsichten(QMenu* optionen)
{
    mnu_Ansicht = neuesMenue(optionen, "mnu_Ansicht", "Ansicht");
    neuerEintrag(mnu_Ansicht, "mnu_ohneCLinie", "bei Bass C-Linie ja/nein", QKeySequence("F7"), this,
                 [this] { mnu_ohneCLinie_Click(); });
    neuerEintrag(mnu_Ansicht, "mnu_Markierungspunkte", "Markierungspunkte ja/nein", QKeySequence("F8"), this,
                 [this] { mnu_Markierungspunkte_Click(); });
    mnu_zeige = neuesMenue(optionen, "mnu_zeige", "Zeige ...");
    neuerEintrag(mnu_zeige, "mnu_Bass_gesondert", "Bass gesondert  ja/nein", QKeySequence("F6"), this,
                 [this] { mnu_Bass_gesondert_Click(); });
    neuerEintrag(mnu_zeige, "mnu_notentasten", "Notentasten  ja/nein", QKeySequence("Ctrl+N"), this,
                 [this] { mnu_notentasten_Click(); });
    neuerEintrag(mnu_zeige, "mnu_maus_über_Tasten", "Maus über Tasten   ja/nein", QKeySequence("Ctrl+U"), this,
                 [this] { mnu_maus_ueber_Tasten_Click(); });
    mnu_alleTasten = neuesMenue(optionen, "mnu_alleTasten", "Zeige Noten");
    neuerEintrag(mnu_alleTasten, "mnu_mittleresC", "mittleres C", QKeySequence("Ctrl+M"), this,
                 [this] { mnu_mittleresC_Click(); });
    neueLinie(mnu_alleTasten, "mnu_Linie5");
    using Zeige = void (Keyboard::*)();
    static constexpr std::array<std::pair<const char*, Zeige>, 7> alle{{
        {"mnu_alleC", &Keyboard::mnu_alleC_Click}, {"mnu_alleD", &Keyboard::mnu_alleD_Click},
        {"mnu_alleE", &Keyboard::mnu_alleE_Click}, {"mnu_alleF", &Keyboard::mnu_alleF_Click},
        {"mnu_alleG", &Keyboard::mnu_alleG_Click}, {"mnu_alleA", &Keyboard::mnu_alleA_Click},
        {"mnu_alleH", &Keyboard::mnu_alleH_Click},
    }};
    for (int i = 0; i < 7; ++i) {
        const Zeige zeige = alle[i].second;
        neuerEintrag(mnu_alleTasten, alle[i].first, QString(QChar(Noten::Buchstabe(i))),
                     QKeySequence(QString("Shift+F%1").arg(i + 1)), this, [this, zeige] { (this->*zeige)(); });
    }
    neueLinie(mnu_alleTasten, "mnu_Linie4");
    neuerEintrag(mnu_alleTasten, "mnu_Markierungenzurück", "Markierungen zurücksetzen", QKeySequence("F5"), this,
                 [this] { mnu_Markierungenzurueck_Click(); });
}
