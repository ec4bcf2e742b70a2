#pragma once

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

    Ui::Form1 ui;

    void Form_Load();
    void Form_MouseDown(int button, int shift, float x, float y);
    void Form_MouseMove(int button, int shift, float x, float y);
    void Form_MouseUp(int button, int shift, float x, float y);
    bool penDown() const { return m_penDown; }

    void HScroll1_Change();
    void HScroll2_Change();
    void HScroll3_Change();
    void VScroll1_Change();
    void Command1_Click();
    void Command2_Click();
    void Command5_Click();

    void Command4_Click();
    void Command3_Click();
    void Command6_Click();
    void Command7_Click();
    void Combo3_Click();
    void Command8_Click();
    void Text1_Click();
    void cds_Click();

    void an_Click();
    void s_Click();
    void no_Click();
    void rid_Click();
    void chi_Click();
    void mnuCopia_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    template<typename... Args>
    auto handler(void (Form1::*method)(Args...));
    void placeAtStart();
    void connectHandlers();
    void setSize(float height, float width);
    void printCopies(qint16 copies);
    void fitPanel();
    void setColour(int red, int green, int blue);

    Platform m_platform;
    bool m_penDown = false;
};
