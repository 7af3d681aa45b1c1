#pragma once

#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>

class K8055;
class K8055Status;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

// "K8055 Demo": exercises every input and output of the board. It owns the
// board connection: creating it connects (Form_Initialize), destroying it
// closes the board (Form_Terminate). The start-up creates it hidden in the
// DC systems, so its input polling runs in the background.
class Form2 : public QWidget {
    Q_OBJECT
public:
    Form2(K8055& board, const K8055Status& status, QWidget* parent = nullptr);
    ~Form2() override;

    void Form_Initialize();
    void Form_Terminate();
    void ConnectCard();

    // Handlers.
    void Connect_Click();
    void Check3_Click(int Index);
    void SetAllDig_Click();
    void ClearAllDig_Click();
    void SetAllAnalog1_Click();
    void ClearAllAnalog1_Click();
    void VScroll1_Scroll();
    void VScroll2_Scroll();
    void Check4_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Option1_Click(int Index);
    void Option2_Click(int Index);
    void Reset1_Click();
    void Reset2_Click();

    // The card address last tried, 0..3, and whether it opened.
    int CardAddress = 0;
    bool cardOpen() const { return cardOpen_; }
    std::int16_t OutputValue = 0;
    bool SuppressWrite = false;
    std::int16_t TestPosition = 0;

    std::array<QCheckBox*, 2> Check1{}; // SK5, SK6
    QPushButton* Connect = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* SetAllDig = nullptr;
    QPushButton* ClearAllDig = nullptr;
    QPushButton* SetAllAnalog1 = nullptr;
    QPushButton* ClearAllAnalog1 = nullptr;
    QCheckBox* Check4 = nullptr;
    QSlider* VScroll1 = nullptr; // analog outputs
    QSlider* VScroll2 = nullptr;
    QSlider* VScroll3 = nullptr; // analog inputs
    QSlider* VScroll4 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label9 = nullptr;
    std::array<QCheckBox*, 5> Check2{}; // digital inputs 1..5
    std::array<QCheckBox*, 8> Check3{}; // digital outputs 1..8
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* Reset1 = nullptr;
    QPushButton* Reset2 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    std::array<QRadioButton*, 4> Option1{};
    std::array<QRadioButton*, 4> Option2{};
    QTimer Timer1;
    QTimer Timer2;

signals:
    // Every connection attempt, also the one at creation.
    void cardConnected(int cardAddress, bool opened);

private:
    QWidget* buildLeftColumn();
    QGroupBox* buildSlider(const QString& title, const QString& name, QSlider*& slider, QLabel*& value,
                           const QString& valueName, bool output);
    QGroupBox* buildInputs();
    QGroupBox* buildOutputs();
    QGroupBox* buildCounter(int counter, QLineEdit*& text, QPushButton*& reset, QLabel*& label,
                            std::array<QRadioButton*, 4>& options);
    void setDebounce(int counter, int Index);
    void showLostBoard();

    K8055& board_;
    const K8055Status& status_;
    bool cardOpen_ = false;
};
