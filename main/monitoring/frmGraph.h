#pragma once
// The graph window: eight strip charts of the live readings stacked in one place, one shown at a
// time as the list chooses, and the period at which GraphSubs feeds them.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <array>

#include "platform/controls/StripChart.h"
#include "platform/controls/UpDown.h"

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

    QLabel* Label1;
    QComboBox* cmbGraph;
    QLabel* Label2;
    QLineEdit* txtUpdate;
    // Steps the period box's number by 10 within 10..10000.
    Controls::UpDown* UpDown1;
    std::array<Controls::StripChart*, kCharts> stpGraph{};
};
