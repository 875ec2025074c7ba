// The start screen: prepares the run and leads to the main window.
#pragma once

#include "widgets/Steuerelemente.h"

struct Haupt;
class Tonausgabe;

class AStart : public QWidget
{
    Q_OBJECT
public:
    AStart(Haupt& haupt, Tonausgabe& ton, QWidget* parent = nullptr);

    Knopf *Command1 = nullptr, *Command2 = nullptr;
    Beschriftung *Label2 = nullptr, *Label3 = nullptr;
    std::array<Form*, 2> Shape1{};
    Bild *Image1 = nullptr, *Image2 = nullptr;

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Image1_Click();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    Haupt& m_haupt;
    Tonausgabe& m_ton;
};
