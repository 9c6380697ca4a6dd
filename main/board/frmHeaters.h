#pragma once
// "Heater Control": the power of the evaluation board's two heaters, one slider each, with the
// remote temperature each heater warms shown beside it (refreshed by the master timer).

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "platform/controls/Slider.h"

class frmHeaters : public QWidget {
    Q_OBJECT
  public:
    explicit frmHeaters(QWidget* parent = nullptr);
    ~frmHeaters() override;

    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QLabel* Label1;
    QLabel* Label2;
    // Slider k sets heater k + 1.
    std::array<Controls::Slider*, 2> sldHeater{};
    std::array<QLabel*, 2> lblTemp{};
    QPushButton* cmdClose;

    // The user moved slider `index`: its value goes to the board as that heater's power.
    void sldHeater_Change(int index);
    void cmdClose_Click();

    // The master timer's heater task: Remote1 and Remote2 beside their heaters.
    void UpdateTemperatureLabels();

  private:
    void Form_Load();
};
