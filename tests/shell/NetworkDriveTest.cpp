#include "shell/NetworkDrive.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(NetworkDrive, TheMountHoldingTheFolderDecides)
{
    const QString mounts = QStringLiteral(
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "30 22 0:40 / /srv/schule rw shared:2 - nfs4 server:/export rw\n"
        "31 30 8:2 / /srv/schule/lokal rw - ext4 /dev/sdb1 rw\n"
        "32 22 0:41 / /mnt/win\\040share rw - cifs //pc/share rw\n"
        "33 22 0:42 / /home/lehrer/fern rw - fuse.sshfs lehrer@pc:/ rw\n"
        "34 22 0:43 / /media/usb rw - vfat /dev/sdc1 rw\n");
    const struct {
        const char* folder;
        bool network;
    } cases[] = {
        {"/usr/bin", false},
        {"/srv/schule", true},
        {"/srv/schule/quillon/bin", true},
        {"/srv/schule/lokal/bin", false},  // a local disk mounted inside the share
        {"/srv/schulewerk", false},        // a neighbour whose name only begins the same
        {"/mnt/win share/quillon", true},
        {"/home/lehrer/fern/bin/", true},
        {"/media/usb", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(onNetworkFileSystem(QString::fromLatin1(c.folder), mounts), c.network) << c.folder;
    EXPECT_FALSE(onNetworkFileSystem(QStringLiteral("/srv/schule"), QString()));
}
