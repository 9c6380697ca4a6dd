#pragma once
// The limits window: for one chosen channel of each kind, the live reading and its limits on a
// vertical gauge whose markers the user drags to write the limits, and beside each gauge the
// lamps of the chip's interrupt status bits. The procedures that fill it live in LimitFormSubs.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <array>

#include "main/monitoring/LimitFormSubs.h"
#include "platform/controls/Gauge.h"
#include "platform/controls/Lamp.h"

class frmLimits : public QWidget {
    Q_OBJECT
  public:
    // The tabs, in order.
    enum Tab { kTabTemperature = 0, kTabFans, kTabVoltage, kTabPECI, kTabThermTimer };

    explicit frmLimits(QWidget* parent = nullptr);
    ~frmLimits() override;

    // Brings a tab to the front (0 "Temperature" .. 4 "THERM Timer"); other indexes are ignored.
    void SelectTab(int index);

    void cmdClose_Click();
    void cmbTemp_Click();
    void cmbFan_Click();
    void cmbVolt_Click();
    void frmLimits_ggeTemp_MarkerMoved();
    void frmLimits_ggeFan_MarkerMoved();
    void frmLimits_ggeVolt_MarkerMoved();
    void frmLimits_ggePECI_MarkerMoved();
    void frmLimits_ggeTHERM_MarkerMoved();

    QTabWidget* SSTab1;
    QPushButton* cmdClose;
    QComboBox* cmbTemp;
    QComboBox* cmbFan;
    QComboBox* cmbVolt;
    QComboBox* cmbPECI;
    Controls::Gauge* ggeTemp;
    Controls::Gauge* ggeFan;
    Controls::Gauge* ggeVolt;
    Controls::Gauge* ggePECI;
    Controls::Gauge* ggeTHERM;
    std::array<Controls::Lamp*, 6> tglTempAlert{};
    std::array<Controls::Lamp*, 4> tglFanAlert{};
    std::array<Controls::Lamp*, 8> tglVoltAlert{};
    std::array<Controls::Lamp*, 6> tglPECIAlert{};
    // lblTemp has no label 3: the THERM lamp's label is lblTherm.
    std::array<QLabel*, 6> lblTemp{};
    QLabel* lblTherm;
    std::array<QLabel*, 4> lblFan{};
    std::array<QLabel*, 8> lblVolt{};
    std::array<QLabel*, 6> lblPECI{};

    // What the last Show of each gauge placed on its markers and read from the chip, so that a
    // write leaves the limits the user did not move exactly as the chip holds them.
    LimitFormSubs::ShownLimits shown;

  private:
    QWidget* AddTab(const QString& title);
    Controls::Gauge* AddGauge(QWidget* tab, int topTwips, double min, double max);
    QComboBox* AddCombo(QWidget* tab, const QStringList& entries);
    template <size_t N>
    void AddLamps(QWidget* tab, std::array<Controls::Lamp*, N>& lamps, int count);
    QLabel* AddLampLabel(QWidget* tab, int row, const QString& text);
    void AddHeadings(QWidget* tab);
};
