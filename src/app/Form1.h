#pragma once

#include "platform/OuterSize.h"
#include "platform/Platform.h"
#include "ui_form1.h"

#include <QMainWindow>

class QLabel;
class QScrollBar;

// The program's one window: drawing surface and control panel. Each handler
// is named after its control and event and runs through an error guard.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit Form1(const Platform &platform, QWidget *parent = nullptr);

    // The design's controls (form1.ui), by name:
    //   canvas: the drawing area; Text1: the comment line; Shape1, Shape2: the
    //   frame; Picture1: the hidden holder of the last copy.
    //   Frame1 "Comandi:", the panel: Command3 "Cancella tutto", Command1 "Bianco",
    //   Command2 "Nero", Command6 "Cornice ON", Command7 "Cornice OF",
    //   Command4 "Linea per effetto 3D", Combo1 the drawing mode, Combo3 the fill
    //   pattern, Command8 "Colore dello stile:", Label7 over Combo2 the right
    //   button's radius, Label2 "Spessore" with Label3 its value, Command5
    //   "Spessore 1 colore nero:", VScroll1 the thickness, Label1 "Color  RGB",
    //   HScroll1..3 red, green, blue with their values Label4..6, Line1..8 the
    //   separators.
    //   Menus: f "&File" (mnuCopia, s, rid, chi), v "&Visualizza" (an, no),
    //   sfon "Sfondo" (cds); the separators spa, ss (File) and ssss (Visualizza).
    Ui::Form1 ui;

    // The window and the pen on the canvas.
    void Form_Load();                                          // fills the lists, disables rid
    void Form_MouseDown(int button, float x, float y); // takes the pen; right button: circle
    void Form_MouseMove(int button, float x, float y); // a dot while pressed; circle trail
    void Form_MouseUp(int button, float x, float y); // lifts the pen
    bool penDown() const { return m_penDown; }
    const OuterSize &outerSize() const { return m_outerSize; }

    // Pen controls: value labels and presets.
    void HScroll1_Change(); // red -> Label4
    void HScroll2_Change(); // green -> Label5
    void HScroll3_Change(); // blue -> Label6
    void VScroll1_Change(); // thickness -> Label3
    void Command1_Click();  // "Bianco"
    void Command2_Click();  // "Nero"
    void Command5_Click();  // "Spessore 1 colore nero:"

    // Canvas commands, frame, comment line, background.
    void Command4_Click(); // "Linea per effetto 3D"
    void Command3_Click(); // "Cancella tutto"
    void Command6_Click(); // "Cornice ON"
    void Command7_Click(); // "Cornice OF"
    void Combo3_Click();   // a fill pattern picked from "Stile dello sfondo:"
    void Command8_Click(); // "Colore dello stile:", the pattern colour
    void Text1_Click();    // the comment line, emptied when clicked
    void cds_Click();      // "Colore di sfondo:"

    // Menus: sizes, printing, closing, copy.
    void an_Click();       // "&Anteprima di Stampa:"
    void s_Click();        // "&Stampa:"
    void no_Click();       // "&Normale"
    void rid_Click();      // "&Ridimensiona:"
    void chi_Click();      // "&Chiudi:"
    void mnuCopia_Click(); // "Copia:"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    template<typename... Args>
    auto handler(void (Form1::*method)(Args...));
    void placeAtStart();
    void connectHandlers();
    void setSize(float width, float height);
    void printCopies(int copies);
    void fitPanel();
    void setColour(int red, int green, int blue);

    Platform m_platform;
    OuterSize m_outerSize{*this};
    bool m_penDown = false;
};
