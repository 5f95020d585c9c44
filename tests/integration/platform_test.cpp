// The Qt adapters of the radio link: port numbering, backups, the QSerialPort
// transport on a real pseudo-terminal, and the virtual radio's memory file.
#include "file/data_file.h"
#include "link/transfer.h"
#include "model/new_data.h"
#include "platform/data_folder.h"
#include "platform/port_directory.h"
#include "platform/port_holder.h"
#include "platform/qt_serial_transport.h"
#include "platform/transports.h"
#include "platform/virtual_radio.h"
#include "pty_line.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

using namespace vrl;
using namespace vrl::platform;

namespace {

class AutoUi : public TransferUi {
  public:
    void progress(int, int) override {}
    bool askRetry(int) override { return false; }
    bool askOk(int) override { return true; }
    void showError(int) override {}
    std::optional<PasswordBytes> askPassword() override { return std::nullopt; }
    bool firmwareWarning(int) override { return true; }
};

} // namespace

TEST(PortNumbering, SystemDevicesFillTheNumbersInNameOrder) {
    PortDirectory dir({"/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyUSB0"});
    EXPECT_EQ(dir.deviceFor(1), "/dev/ttyS0");
    EXPECT_EQ(dir.deviceFor(2), "/dev/ttyUSB0");
    EXPECT_EQ(dir.deviceFor(3), "/dev/ttyUSB1");
    EXPECT_EQ(dir.deviceFor(4), "");
    EXPECT_EQ(dir.numberOf("/dev/ttyUSB1"), 3);
    EXPECT_EQ(dir.numberOf("/dev/ttyACM0"), 0);
}

TEST(PortNumbering, DevicesByIdAreListedByTheirLinkNames) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("usb-FTDI_B-if00-port0"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("usb-FTDI_A-if00-port0"))));
    EXPECT_EQ(PortDirectory::listDevicesById(dir.path()),
              (QStringList{dir.filePath(QStringLiteral("usb-FTDI_A-if00-port0")),
                           dir.filePath(QStringLiteral("usb-FTDI_B-if00-port0"))}));
    EXPECT_TRUE(PortDirectory::listDevicesById(dir.filePath(QStringLiteral("none"))).isEmpty());
}

TEST(PortNumbering, TiedDevicesKeepTheirNumber) {
    PortDirectory dir({"/dev/ttyS0", "/dev/ttyUSB0"});
    dir.tie(1, "/dev/ttyUSB0");
    EXPECT_EQ(dir.deviceFor(1), "/dev/ttyUSB0");
    EXPECT_EQ(dir.deviceFor(2), "/dev/ttyS0");
    dir.tie(5, "/dev/pts/7"); // a typed path
    EXPECT_EQ(dir.deviceFor(5), "/dev/pts/7");
    dir.tie(6, "/dev/ttyUSB0"); // a device stands for one number only
    EXPECT_EQ(dir.numberOf("/dev/ttyUSB0"), 6);
    EXPECT_EQ(dir.deviceFor(1), "/dev/ttyS0");
    dir.tie(7, kVirtualPortName);
    EXPECT_EQ(dir.deviceFor(7), "virtual");
}

TEST(PortNumbering, TiesSurviveTheSettings) {
    QTemporaryDir tmp;
    QSettings settings(tmp.filePath("s.ini"), QSettings::IniFormat);
    PortDirectory dir({});
    dir.tie(3, "/dev/ttyUSB9");
    dir.saveTo(settings);
    const PortDirectory back = PortDirectory::fromSettings(settings);
    EXPECT_EQ(back.deviceFor(3), "/dev/ttyUSB9");
}

TEST(Backups, FileNameHoldsDateTimeAndModel) {
    const QDateTime when(QDate(2024, 1, 31), QTime(14, 25, 1));
    EXPECT_EQ(backupFileName(when, "RM-140A[8CH]:K"), "20240131-142501_RM-140A-8CH-K.dat");
    EXPECT_EQ(backupFileName(when, "RP-110A[8CH]:(N)E,(N)T"), "20240131-142501_RP-110A-8CH-N-E-N-T.dat");
    EXPECT_EQ(backupFileName(when, ""), "20240131-142501_radio.dat");
}

TEST(Backups, TwoReadsInOneSecondKeepBothImages) {
    RadioData data;
    newDataFor(data, defaultIdentity());
    QString error;
    const QString a = saveBackup(data.image, "RM-140A[8CH]:K", &error);
    const QString b = saveBackup(data.image, "RM-140A[8CH]:K", &error);
    ASSERT_FALSE(a.isEmpty()) << error.toStdString();
    ASSERT_FALSE(b.isEmpty()) << error.toStdString();
    EXPECT_NE(a, b);
    EXPECT_TRUE(a.startsWith(backupFolder()));
    QFile::remove(a);
    QFile::remove(b);
}

TEST(SerialTransport, MovesBytesOverAPseudoTerminal) {
    radiosim::PtyLine pty;
    ASSERT_TRUE(pty.create()) << pty.error();
    QtSerialTransport port(QString::fromStdString(pty.devicePath()));
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    // DTR and RTS are refused by pseudo-terminals; that must not fail the settings.
    EXPECT_TRUE(port.applySettings({4800, 'N', 8, 2}));
    EXPECT_EQ(pty.lineBaud(), 4800);
    const uint8_t out[] = {'P', 'R', 'O'};
    ASSERT_TRUE(port.write(out));
    EXPECT_EQ(pty.receive(1000), (std::vector<uint8_t>{'P', 'R', 'O'}));
    const uint8_t reply[] = {1, 2, 3};
    pty.send(reply);
    std::array<uint8_t, 5> buf{};
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(port.read(buf, 300), 3u); // two bytes never come: the time-out ends the read
    EXPECT_GE(timer.elapsed(), 250);
    EXPECT_EQ(buf[2], 3);
    // The time-out is cleared: the next read works.
    pty.send(reply);
    EXPECT_EQ(port.read(std::span(buf).first(3), 1000), 3u);
}

// A device the user may not open is told apart from a missing one, so that the
// message can name the dialout group.
TEST(SerialTransport, PortWithoutAccessRightsIsReportedAsPermissionDenied) {
    QtSerialTransport missing(QStringLiteral("/dev/vrl-no-such-device"));
    EXPECT_FALSE(missing.open());
    EXPECT_FALSE(missing.permissionDenied());
    if (geteuid() == 0) GTEST_SKIP() << "root opens any device";
    radiosim::PtyLine pty;
    ASSERT_TRUE(pty.create()) << pty.error();
    ASSERT_EQ(chmod(pty.devicePath().c_str(), 0), 0);
    QtSerialTransport port(QString::fromStdString(pty.devicePath()));
    EXPECT_FALSE(port.open());
    EXPECT_TRUE(port.permissionDenied()) << port.lastError().toStdString();
    EXPECT_NE(portOpenFailure(port).find(pty.devicePath()), std::string::npos);
}

// A port another program holds is "busy" and names the holder, never the dialout
// hint; a lock file left by a program that has ended does not count.
TEST(SerialTransport, PortHeldElsewhereIsReportedAsBusy) {
    radiosim::PtyLine pty;
    ASSERT_TRUE(pty.create()) << pty.error();
    const QString device = QString::fromStdString(pty.devicePath());
    QtSerialTransport first(device), second(device);
    ASSERT_TRUE(first.open());
    EXPECT_FALSE(second.open());
    EXPECT_FALSE(second.permissionDenied());
    EXPECT_EQ(second.failureReason().rfind("busy: another program has it open", 0), 0u)
        << second.failureReason();
    first.close();

    QTemporaryDir locks;
    QString base = device.mid(5);
    base.replace('/', '_');
    for (const auto& [pid, busy] : {std::pair{qint64(getpid()), true}, std::pair{qint64(999999999), false}}) {
        QFile lock(locks.filePath("LCK.." + base));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(QByteArray::number(pid) + "\nvrl73m\nhost\n");
        lock.close();
        const PortOpenCause cause = portOpenCause(device, {locks.path()});
        EXPECT_EQ(cause.busy, busy) << pid;
        if (busy) {
            EXPECT_NE(cause.text.find(lock.fileName().toStdString()), std::string::npos);
        }
    }
}

TEST(SerialTransport, DiscardDropsUnreadInput) {
    radiosim::PtyLine pty;
    ASSERT_TRUE(pty.create());
    QtSerialTransport port(QString::fromStdString(pty.devicePath()));
    ASSERT_TRUE(port.open());
    ASSERT_TRUE(port.applySettings({9600, 'N', 8, 2}));
    const uint8_t junk[] = {9, 9, 9};
    pty.send(junk);
    QThread::msleep(50);
    port.discardInput();
    const uint8_t ack[] = {6};
    pty.send(ack);
    std::array<uint8_t, 1> buf{};
    ASSERT_EQ(port.read(buf, 500), 1u);
    EXPECT_EQ(buf[0], 6);
}

TEST(SerialTransport, HangUpClosesThePort) {
    radiosim::PtyLine pty;
    ASSERT_TRUE(pty.create());
    QtSerialTransport port(QString::fromStdString(pty.devicePath()));
    ASSERT_TRUE(port.open());
    ASSERT_TRUE(port.applySettings({9600, 'N', 8, 2}));
    pty.hangUp();
    std::array<uint8_t, 1> buf{};
    EXPECT_EQ(port.read(buf, 300), 0u);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write(buf));
}

TEST(VirtualRadioMemory, WhatIsWrittenIsThereNextRun) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath("virtual.dat");
    RadioData written;
    {
        VirtualRadio radio(file); // no file yet: New data of the default model
        RadioLink link;
        link.setTransport(&radio);
        AutoUi ui;
        RadioData data;
        ASSERT_EQ(readDataFromRadio(link, data, ui), kTransferOk);
        data.image.setU8(0x6010, 0x5A);
        ASSERT_EQ(writeDataToRadio(link, data, ui), kTransferOk);
        EXPECT_TRUE(radio.saveError().isEmpty()) << radio.saveError().toStdString();
    }
    VirtualRadio again(file);
    EXPECT_EQ(again.radio().memory()[0x6010], 0x5A);
}

TEST(VirtualRadioMemory, DamagedMemoryFileIsRefusedAndKept) {
    QTemporaryDir tmp;
    RadioData good;
    newDataFor(good, defaultIdentity());
    const QString goodFile = tmp.filePath("good.dat");
    ASSERT_EQ(writeDataFile(goodFile.toStdString(), good.image).result, kFileOk);
    QFile in(goodFile);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray valid = in.readAll();
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"truncated", valid.left(1000)},
        {"foreign", QByteArray("just some text\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = tmp.filePath(QString::fromLatin1(c.name) + ".dat");
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(c.bytes);
        out.close();
        VirtualRadio radio(file);
        EXPECT_FALSE(radio.open());
        EXPECT_NE(radio.failureReason().find(file.toStdString()), std::string::npos);
        QFile back(file);
        ASSERT_TRUE(back.open(QIODevice::ReadOnly));
        EXPECT_EQ(back.readAll(), c.bytes);
    }
    // A folder in the memory file's place is refused the same way.
    ASSERT_TRUE(QDir(tmp.path()).mkdir("folder.dat"));
    VirtualRadio folder(tmp.filePath("folder.dat"));
    EXPECT_FALSE(folder.open());
}

TEST(VirtualRadioMemory, MemoryThatCannotBeSavedIsAFailedWrite) {
    QTemporaryDir tmp;
    // The memory file's folder cannot exist: a plain file holds its name.
    QFile blocker(tmp.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    VirtualRadio radio(tmp.filePath("blocker/virtual.dat"));
    RadioLink link;
    link.setTransport(&radio);
    AutoUi ui;
    RadioData data;
    ASSERT_EQ(readDataFromRadio(link, data, ui), kTransferOk);
    EXPECT_NE(writeDataToRadio(link, data, ui), kTransferOk);
    EXPECT_FALSE(radio.failureReason().empty());
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("vrl73m");
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
