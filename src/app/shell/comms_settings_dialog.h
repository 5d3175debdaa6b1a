// Communication settings: the serial port, the progress bars, the pause before each packet and the
// communications log.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "platform/language_catalog.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace qelto::app {

struct CommsSettings {
    std::string serPort;
    int progressBars = 1;
    int usbSpeedThrottle = 0;  // 10 ms steps
    bool commsLog = false;
};

class CommsSettingsDialog final : public QDialog {
    Q_OBJECT

  public:
    // A second of pause per packet is already far slower than any unit needs.
    static constexpr int kMaxThrottle = 100;

    // ports: the ports found on this machine; the current port is offered even when absent.
    CommsSettingsDialog(const platform::LanguageCatalog& texts, const CommsSettings& current,
                        const std::vector<std::string>& ports, QWidget* parent = nullptr);

    // The values as entered; a port typed with blanks around it is trimmed.
    CommsSettings values() const;

  private:
    QComboBox* port_;
    QCheckBox* progressBars_;
    QSpinBox* throttle_;
    QCheckBox* commsLog_;
};

}  // namespace qelto::app
