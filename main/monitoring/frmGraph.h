#pragma once
// The graph window: eight strip charts of the live readings stacked in one place, one shown at a
// time as the list chooses, and the period at which GraphSubs feeds them.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <array>

#include "platform/controls/StripChart.h"

class frmGraph : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kCharts = 8;

    explicit frmGraph(QWidget* parent = nullptr);
    ~frmGraph() override;

    // Hides every chart, then places chart `index` below the controls across the window and
    // shows it.
    void ShowGraph(int16_t index);

    void cmbGraph_Click();
    void txtUpdate_Change();
    // The up-down control beside the period box: steps the box's number by 10 within 10..10000.
    void UpDown1_UpClick();
    void UpDown1_DownClick();

    QLabel* Label1;
    QComboBox* cmbGraph;
    QLabel* Label2;
    QLineEdit* txtUpdate;
    QToolButton* UpDown1Up;
    QToolButton* UpDown1Down;
    std::array<Controls::StripChart*, kCharts> stpGraph{};

  private:
    void StepPeriod(int step);
};
