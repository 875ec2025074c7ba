// The two information windows on rests and note lengths: fixed pages that only link and close.
#pragma once

#include "widgets/Steuerelemente.h"

#include <QDialog>
#include <array>

// What differs between the two pages in their common controls.
struct Infoseite;

// The controls both pages share: banner, bars, symbol pictures with their names, texts, button.
class Infofenster : public QDialog
{
    Q_OBJECT
public:
    Bild* Image1 = nullptr;                  // banner: opens the main web page
    Bild *Image3 = nullptr, *Image4 = nullptr, *Image5 = nullptr, *Image6 = nullptr, *Image7 = nullptr;
    std::array<Form*, 3> Shape1{};           // 0 and 2 only
    std::array<Beschriftung*, 8> Label3{};
    Beschriftung *Label1 = nullptr, *Label4 = nullptr;
    std::array<Linie*, 12> Line1{};          // 10 in both; the note staff adds the others
    Knopf* Verlassen = nullptr;

    void Form_Load();
    void Image1_Click();
    void Verlassen_Click();

protected:
    Infofenster(const Infoseite& seite, QWidget* parent);
};

class Pausenzeichen : public Infofenster
{
    Q_OBJECT
public:
    explicit Pausenzeichen(QWidget* parent = nullptr);
    Beschriftung* Label2 = nullptr; // "N.C."
};

class Notenlaenge : public Infofenster
{
    Q_OBJECT
public:
    explicit Notenlaenge(QWidget* parent = nullptr);
    std::array<Form*, 15> Shape4{};        // note heads, rising one step each
    std::array<Beschriftung*, 15> Label2{}; // their letters
};
