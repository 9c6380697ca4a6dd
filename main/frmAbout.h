#pragma once
// "About the  Quorvex Software": the program's version and two links to the maker's pages,
// opened in the default browser. A visited link turns purple while the window stays open.

#include <QGroupBox>
#include <QLabel>
#include <QPoint>
#include <QPushButton>
#include <QUrl>
#include <QWidget>
#include <functional>

class frmAbout : public QWidget {
    Q_OBJECT
  public:
    // The maker's product-family page for these devices and its home page.
    static constexpr const char* kSensorInfoUrl = "https://www.halvern.example/sensors";
    static constexpr const char* kHomeUrl = "https://www.halvern.example/";
    // Link colours: not yet visited, and visited.
    static constexpr QRgb kLinkColour = 0x0000FF;
    static constexpr QRgb kVisitedColour = 0x800080;

    explicit frmAbout(QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* lblSensorInfo;
    QLabel* Label5;
    QLabel* Label6;
    QPushButton* cmdOK;

    void cmdOK_Click();
    void lblSensorInfo_Click();
    void Label6_Click();

    // Where the window goes inside the main window, in pixels: centred across the main window
    // and 1500 twips above its centre (sizes in twips), with the top-left corner kept inside the
    // main window's client area (pixels) so the window can always be reached.
    static QPoint Placement(double mainWidth, double mainHeight, double ownWidth, double ownHeight,
                            int clientWidth, int clientHeight);

    // How a page is opened; tests replace it (an empty one restores the default browser).
    using UrlOpener = std::function<void(const QUrl&)>;
    static void SetUrlOpener(UrlOpener opener);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OpenLink(QLabel* link, const char* url);
};
