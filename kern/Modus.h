// What the main window is in: viewing notes, or learning them. The window tells each panel; no
// panel reads it back from a control.
#pragma once

enum class Modus { Betrachten, Lernen };
