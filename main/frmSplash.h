#pragma once
// The splash window shown while the main window's load finds the chips: product name,
// version, the discovery text and a progress bar.

#include <QLabel>
#include <QWidget>

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblPlatform;
    QLabel* lblProgInfo;
    QLabel* lblProgress;  // a bar whose width shows the progress

    // The design width of the progress bar in twips (its 100 % mark): the bar then ends as far
    // inside the lines round the progress area as it starts.
    static constexpr int kProgressDesignWidthTwips = 5760;

    // Width of the progress bar in twips.
    int ProgressWidthTwips() const { return progressTwips_; }
    void SetProgressWidthTwips(int twips);
    void SetProgInfo(const QString& text);

private:
    void Form_Load();

    int progressTwips_ = 0;
};
