#pragma once
#include <QDialog>
#include <QHash>
#include <functional>

class CImgButton;
class CMyListCtrl;
class QLabel;
class QLineEdit;
class QTimer;

// The main window: the devices with their on-line marks on the left, the
// selected device's fields and its cards, 18 to a page, on the right, and the
// buttons of every operation below.
class CKestrovaneDlg : public QDialog {
    Q_OBJECT
public:
    // What the window asks of the control core: start it (once, while the
    // window initialises) and announce the PC to the devices.
    struct CoreHooks {
        std::function<void()> init;
        std::function<void()> announce;
    };

    enum ControlId {
        IDC_DEVICE_LIST = 1000,
        IDC_ADD_DEVICE = 1001,
        IDC_MODIFY_DEVICE = 1002,
        IDC_DELETE_DEVICE = 1003,
        IDC_CARD_LIST = 1004,
        IDC_DEVICE_NAME = 1005,
        IDC_DEVICE_IP = 1006,
        IDC_DEVICE_MAC = 1007,
        IDC_DEVICE_FIRMWARE = 1008,
        IDC_ADD_CARD = 1009,
        IDC_MODIFY_CARD = 1010,
        IDC_DELETE_CARD = 1011,
        IDC_COPY = 1012,
        IDC_IMPORT = 1013,
        IDC_EXPORT = 1014,
        IDC_UPDATE_FROM = 1015,
        IDC_UPDATE_TO = 1016,
        IDC_FIRST_PAGE = 1017,
        IDC_PREV_PAGE = 1018,
        IDC_NEXT_PAGE = 1019,
        IDC_LAST_PAGE = 1020,
        IDC_GO_PAGE = 1021,
        IDC_PAGE_NUMBER = 1022,
        IDC_PAGE_INDICATOR = 1023,
        IDC_SETTING = 1060,
        IDC_VERSION = 1075,
    };

    static constexpr int kPageSize = 18;
    static constexpr int kStatusPeriodMs = 10000;

    // The program's own core: CControl::Init and CControl::ProcessMulticastAddress.
    static CoreHooks ControlCore();

    explicit CKestrovaneDlg(CoreHooks hooks = ControlCore(), QWidget* parent = nullptr);
    ~CKestrovaneDlg() override;

    // Reloads the device rows from the store; afterwards no row is selected.
    void LoadDeviceList();
    // Fills the four device fields from the selected row, or empties them.
    void ShowDeviceFields();
    // Reloads the current page of the selected device's cards.
    void LoadCardPage();

    // The selected device: its row (-1 for none), the decimal ID of its hidden
    // first column, its owner key, and IP and MAC as the fields last showed them.
    int SelectedDeviceRow() const;
    QString SelectedDeviceIdText() const;
    QString SelectedOwnerKey() const;
    QString DeviceIp() const { return m_ip; }
    QString DeviceMac() const { return m_mac; }
    // True when a device row is selected; otherwise says so in a message box.
    bool RequireDevice() const;

    int CurrentPage() const { return m_currentPage; }
    int PageCount() const { return m_pageCount; }
    void SetCurrentPage(int page) { m_currentPage = page; }

    CMyListCtrl* DeviceList() const { return m_devices; }
    CMyListCtrl* CardList() const { return m_cards; }
    CImgButton* Button(int id) const { return m_buttons.value(id); }
    QLineEdit* Field(int id) const;
    QLineEdit* PageNumberBox() const { return m_pageNumber; }
    QLabel* PageIndicator() const { return m_pageIndicator; }
    QTimer* StatusTimer() const { return m_statusTimer; }

public slots:
    // Every 10 s: redraw the on-line marks, then announce.
    void RefreshStatus();

private slots:
    void OnDeviceSelectionChanged();
    void OnDeviceClicked();
    void OnCardHeadingClicked(int column);
    void OnFirstPage();
    void OnPrevPage();
    void OnNextPage();
    void OnLastPage();
    void OnGoPage();
    void OnDeleteCard();
    void OnSetting();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ShowFieldTexts();
    // Selects the device row and brings the fields and cards in step with it.
    void FollowSelection();

    CoreHooks m_hooks;
    int m_currentPage = 1;
    int m_pageCount = 1;
    int m_checkAll = 0;
    // Set when the device selection changed since the last press on the list,
    // so the click that ends that press does not load the same page again.
    bool m_followedSincePress = false;
    QString m_name;
    QString m_ip;
    QString m_mac;
    QString m_firmware;

    CMyListCtrl* m_devices = nullptr;
    CMyListCtrl* m_cards = nullptr;
    QHash<int, CImgButton*> m_buttons;
    QHash<int, QLineEdit*> m_fields;
    QLineEdit* m_pageNumber = nullptr;
    QLabel* m_pageIndicator = nullptr;
    QTimer* m_statusTimer = nullptr;
};
