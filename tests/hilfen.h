// Shared pieces of the tests: a recording sound output and a main window set up as at start-up.
#pragma once

#include "widgets/Steuerelemente.h"
#include "sound/Tonausgabe.h"
#include "keyboard/Haupt.h"
#include "keyboard/Keyboard.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QEventLoop>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

// Catches the web addresses the program hands to the browser; registered for "https" while alive.
class UrlFaenger : public QObject
{
    Q_OBJECT
public:
    UrlFaenger() { QDesktopServices::setUrlHandler("https", this, "oeffne"); }
    ~UrlFaenger() override { QDesktopServices::unsetUrlHandler("https"); }
    QStringList urls;
    bool immerBeschaeftigt = true; // the busy pointer was up at every launch
public slots:
    void oeffne(const QUrl& url)
    {
        urls.append(url.toString());
        immerBeschaeftigt &= QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    }
};

// A control, menu or menu entry of `fenster` by its object name. A missing name stops the run:
// the test would otherwise go on with a null pointer.
template <class T = QWidget>
T* el(const QObject* fenster, const QString& name)
{
    T* t = fenster->findChild<T*>(name);
    if (!t)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return t;
}
// A member of a control array, named Name(i).
template <class T = QWidget>
T* el(const QObject* fenster, const char* name, int i) { return el<T>(fenster, arrayName(name, i)); }
// Every member of a control array, Name(0) upwards.
template <class T = QWidget>
QList<T*> alle(const QObject* fenster, const char* name)
{
    QList<T*> a{el<T>(fenster, name, 0)};
    while (T* t = fenster->findChild<T*>(arrayName(name, int(a.size()))))
        a << t;
    return a;
}
// How many members of a control array are hidden.
inline int versteckt(const QObject* fenster, const char* name)
{
    const QWidgetList a = alle(fenster, name);
    return int(std::count_if(a.begin(), a.end(), [](QWidget* w) { return w->isHidden(); }));
}
// The text a label shows.
inline QString text(const QObject* fenster, const QString& name) { return el<QLabel>(fenster, name)->text(); }
// A click as the user gives it: only on a control that shows and takes input.
inline void klicke(QWidget* k)
{
    QVERIFY2(k->isVisible() && k->isEnabled(), qPrintable(k->objectName() + " cannot be clicked"));
    QTest::mouseClick(k, Qt::LeftButton);
}
inline void klicke(const QObject* fenster, const QString& name) { klicke(el(fenster, name)); }
inline void klicke(const QObject* fenster, const char* name, int i) { klicke(el(fenster, name, i)); }
// Chooses the named menu entry.
inline void loese(const QObject* fenster, const QString& name) { el<QAction>(fenster, name)->trigger(); }
// A key press through the window's one input door, as a click on TheKey(k) gives it.
inline void tippe(Keyboard* kb, int k) { kb->Taste_Eingabe(k, Keyboard::Herkunft::Maus); }

// The fill colours of the 23 marker dots.
inline QList<quint32> fuellung(const QObject* kb)
{
    QList<quint32> f;
    for (auto* m : alle<Form>(kb, "T_Markierung"))
        f << m->fillColor();
    return f;
}

// Remembers every path it is asked to play, and sounds for a key sound's length after each.
class Aufnahme : public Tonausgabe
{
public:
    static constexpr std::chrono::milliseconds Klanglaenge{2000};
    void spiele(const QString& pfad) override
    {
        gespielt.append(pfad);
        m_klingtBis = std::chrono::steady_clock::now() + Klanglaenge;
    }
    int halteStimme(const QString& pfad, double lautstaerke) override
    {
        gehalten.append({pfad, lautstaerke});
        m_klingtBis = std::chrono::steady_clock::now() + Klanglaenge;
        return int(gehalten.size());
    }
    bool klingt() const override { return std::chrono::steady_clock::now() < m_klingtBis; }
    void loeseStimme(int stimme) override { geloest.append(stimme); }
    // The MIDI thread's voices, by key number: booked on the test's thread, in the order given.
    void merkeKlaenge(const QStringList& pfade) override { m_gemerkt = pfade; }
    int halteGemerkt(int nummer, double lautstaerke) override
    {
        const int stimme = ++geraeteStimmen;
        QMetaObject::invokeMethod(qApp, [this, nummer, lautstaerke] { halteStimme(m_gemerkt.value(nummer), lautstaerke); });
        return stimme;
    }
    void loeseGemerkt(int stimme) override
    {
        QMetaObject::invokeMethod(qApp, [this, stimme] { loeseStimme(stimme); });
    }
    QStringList gespielt;
    QList<std::pair<QString, double>> gehalten; // voice n is gehalten[n - 1]
    QList<int> geloest;
    std::atomic<int> geraeteStimmen{0}; // started by the MIDI thread, counted on it

private:
    std::chrono::steady_clock::time_point m_klingtBis{};
    QStringList m_gemerkt;
};

// A main window opened as "&Starten" opens it, with a fixed seed and a known sound directory.
struct Fenster
{
    explicit Fenster(std::uint32_t saat = 1)
    {
        haupt.Randomize(saat);
        haupt.Ton_Verzeichnis = "/klaenge/";
        besitz = std::make_unique<Keyboard>(haupt, ton);
        kb = besitz.get();
        kb->show();
        kb->activateWindow();
        // A check here must stop the test: QVERIFY would only leave the constructor.
        if (!QTest::qWaitForWindowActive(kb))
            qFatal("the main window did not become active");
    }
    QAction* menue(const QString& name) const { return el<QAction>(kb, name); }
    Haupt haupt;
    Aufnahme ton;
    std::unique_ptr<Keyboard> besitz;
    Keyboard* kb = nullptr;
};

// Runs `tat` inside the application's event loop and tells whether the program ended it
// (QCoreApplication::quit) within 2 s. Quitting closes the windows; `fenster` is opened again.
inline bool beendet(QWidget* fenster, const std::function<void()>& tat)
{
    QTimer::singleShot(0, qApp, [&] { tat(); });
    QTimer uhr;
    uhr.setSingleShot(true);
    QObject::connect(&uhr, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    uhr.start(2000);
    const bool ende = QCoreApplication::exec() == 0;
    fenster->show();
    fenster->activateWindow();
    [&] { QVERIFY(QTest::qWaitForWindowActive(fenster)); }();
    return ende;
}

// The geometry that a place in twips gives.
inline QRect twips(int l, int t, int w, int h) { return twRect(l, t, w, h); }
