#include "app/LadendeTonausgabe.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#ifndef KLAVIDOR_MODUL_RELATIV
#define KLAVIDOR_MODUL_RELATIV "../lib/klavidor"
#endif

namespace {

constexpr const char* Modulname = "klavidor_ton.so";
using Erzeuger = Tonausgabe* (*)();

Tonausgabe* lade(const QString& gegeben)
{
    const QStringList orte = gegeben.isEmpty() ? LadendeTonausgabe::Suchorte() : QStringList{gegeben};
    for (const QString& ort : orte) {
        if (!QFileInfo::exists(ort))
            continue;
        // Kept loaded for the rest of the run: the audio libraries run threads of their own.
        QLibrary bibliothek(ort);
        if (auto erzeuge = reinterpret_cast<Erzeuger>(bibliothek.resolve("klavidor_tonausgabe_erzeugen")))
            return erzeuge();
    }
    return nullptr;
}

} // namespace

LadendeTonausgabe::LadendeTonausgabe(QString modul) : m_modul(std::move(modul)) {}

LadendeTonausgabe::~LadendeTonausgabe()
{
    if (m_laden.valid())
        m_ton.reset(m_laden.get());
}

QStringList LadendeTonausgabe::Suchorte()
{
    const QString dir = QCoreApplication::applicationDirPath();
    return {QDir(dir).filePath(Modulname), QDir(dir).filePath(QString(KLAVIDOR_MODUL_RELATIV) + "/" + Modulname)};
}

void LadendeTonausgabe::vorbereiten()
{
    if (!m_fertig && !m_laden.valid())
        m_laden = std::async(std::launch::async, lade, m_modul);
}

bool LadendeTonausgabe::geladen()
{
    vorbereiten();
    if (!m_fertig) {
        m_ton.reset(m_laden.get()); // waits only while the module is still loading
        m_fertig = true;
    }
    return m_ton != nullptr;
}

void LadendeTonausgabe::spiele(const QString& pfad)
{
    if (geladen())
        m_ton->spiele(pfad);
}
