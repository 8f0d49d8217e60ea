// The named controls of the main window, typed. Each widget keeps its name as
// its objectName ("Command2", "Label6", ...), which scripts and tests find it
// by; code reaches it through its member here, so a misspelt member does not
// compile where a misspelt name would silently find nothing.
#pragma once

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QSlider;
class QWidget;

namespace tarvok {

class InstrumentPanel;
class MapPicture;

struct MainWindowControls {
    QLabel* status = nullptr;  // Label6, the status line

    // Buttons.
    QPushButton* loadMap = nullptr;           // Command2  LOAD
    QPushButton* findMap = nullptr;           // Command13 FIND
    QPushButton* buildMapDatabase = nullptr;  // Command12 AUTO
    QPushButton* goToPixel = nullptr;         // Command3  XY
    QPushButton* goToCoordinates = nullptr;   // Command4  LaLo
    QPushButton* routePlayback = nullptr;     // Command1  RTE
    QPushButton* navigate = nullptr;          // Navig1    NAV
    QPushButton* setup = nullptr;             // SetupCommand
    QPushButton* stop = nullptr;              // cmdQuit   STOP
    QPushButton* zoomFull = nullptr;          // Zoom0
    QPushButton* zoomIn = nullptr;            // ZoomI
    QPushButton* zoomOut = nullptr;           // ZoomU
    QPushButton* help = nullptr;              // Command6

    // Readouts and boxes.
    QLineEdit* time = nullptr;              // Tijds
    QLineEdit* date = nullptr;              // Datum
    QLineEdit* speed = nullptr;             // Speed
    QLineEdit* speedUnit = nullptr;         // Smode
    QLineEdit* course = nullptr;            // Koers
    QLineEdit* compassDirection = nullptr;  // Windr
    QLineEdit* northSouth = nullptr;        // NSText
    QLineEdit* latitude = nullptr;          // Latid
    QLineEdit* eastWest = nullptr;          // EWText
    QLineEdit* longitude = nullptr;         // Longi
    QLineEdit* pixelX = nullptr;            // Xtext
    QLineEdit* pixelY = nullptr;            // Ytext
    QLineEdit* zoomLevel = nullptr;         // Ztext
    QLineEdit* accentLeft = nullptr;        // Text3, an empty strip
    QLineEdit* accentRight = nullptr;       // Text4, an empty strip

    QCheckBox* movingMap = nullptr;              // Check1
    QCheckBox* trail = nullptr;                  // Check2, beside it: the trail shown
    QSlider* crossSize = nullptr;                // Slider3
    QSlider* thinning = nullptr;                 // rou1
    QPlainTextEdit* receiverLog = nullptr;       // Text1
    InstrumentPanel* instrumentPanel = nullptr;  // Picture2, the speed and compass dials
    QLabel* fixStatus = nullptr;                 // Label7, in the instrument panel: "3D 9 sat", "NO FIX"

    // The route playback panel.
    QFrame* playbackPanel = nullptr;           // Frame10
    QLineEdit* playbackStart = nullptr;        // Text7
    QScrollBar* startHours = nullptr;          // HScroll1
    QScrollBar* startMinutes = nullptr;        // HScroll2
    QSlider* playbackSpeed = nullptr;          // Slider1
    QProgressBar* playbackProgress = nullptr;  // ProgressBar1
    QPushButton* play = nullptr;               // Play1

    // In and around the map view.
    MapPicture* mapPicture = nullptr;       // Picture1
    QLineEdit* upperLeftCorner = nullptr;   // TextLB
    QLineEdit* upperRightCorner = nullptr;  // TextRB
    QLineEdit* lowerLeftCorner = nullptr;   // TextLO
    QLineEdit* lowerRightCorner = nullptr;  // TextRO
    QScrollBar* mapHScroll = nullptr;       // HScroll3
    QScrollBar* mapVScroll = nullptr;       // VScroll3
    QLineEdit* mapStatusLine = nullptr;     // Text8
    QWidget* radarCircles[3] = {};          // Shape1, Shape2, Shape3
};

}  // namespace tarvok
