// The picture browser's names, sample arithmetic and drive list, without
// its window.
#include "core/errors.h"
#include "files/drive_list.h"
#include "files/picture_browser_rules.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quor;

TEST(BrowserRules, FullNamesJoinWithOneSlash)
{
    EXPECT_EQ(browserFullName("/", "a.bmp"), "/a.bmp");
    EXPECT_EQ(browserFullName("/home/u/pics", "a.bmp"), "/home/u/pics/a.bmp");
    EXPECT_EQ(browserFullName("/home/u/pics/", "a.bmp"), "/home/u/pics/a.bmp");
    // Only "/" separates here: a folder name may end in a colon.
    EXPECT_EQ(browserFullName("/data/c:", "a.bmp"), "/data/c:/a.bmp");
}

TEST(BrowserRules, SampleThatFitsIsCentredWithoutScrolling)
{
    // 100 x 60 pixels in a 400 x 300 frame with 17-pixel bars.
    const SampleLayout l = sampleLayout(1500, 900, 6000, 4500, 255, 255);
    EXPECT_EQ(l.left, 2250);
    EXPECT_EQ(l.top, 1800);
    EXPECT_EQ(l.horizontalMax, 0);
    EXPECT_EQ(l.verticalMax, 0);
    // Exactly the room left by the bars still fits.
    const SampleLayout edge = sampleLayout(5745, 4245, 6000, 4500, 255, 255);
    EXPECT_EQ(edge.left, 127.5);
    EXPECT_EQ(edge.top, 127.5);
    EXPECT_EQ(edge.horizontalMax + edge.verticalMax, 0);
}

TEST(BrowserRules, LargerSampleStartsTopLeftAndScrollsToItsFarEdge)
{
    // 9000 x 400 pixels: across it does not fit, down it does.
    const SampleLayout l = sampleLayout(135000, 6000, 6000, 7000, 255, 255);
    EXPECT_EQ(l.left, 0);
    EXPECT_EQ(l.top, 7000 / 2 - 6000 / 2);
    EXPECT_EQ(l.verticalMax, 0);
    EXPECT_EQ(l.horizontalMax, 6463); // (135000 - 5745) / 20 = 6462.75
    // Past 1638 units a 16-bit product would have wrapped.
    EXPECT_EQ(sampleOffset(l.horizontalMax), -129260.0);
    // Scrolled all the way, the right edge is in view.
    EXPECT_LE(sampleOffset(l.horizontalMax) + 135000, 5745.0);

    // Halves go to the even neighbour: 1.5 -> 2, 2.5 -> 2.
    EXPECT_EQ(sampleLayout(5775, 100, 6000, 6000, 255, 255).horizontalMax, 2);
    EXPECT_EQ(sampleLayout(5795, 100, 6000, 6000, 255, 255).horizontalMax, 2);
    EXPECT_EQ(sampleLayout(100, 4275, 6000, 4500, 255, 255).verticalMax, 2);
}

TEST(BrowserRules, SizeTextAndFilters)
{
    EXPECT_EQ(sampleSizeText(360, 240), "360  240");
    EXPECT_EQ(browserNameFilters().join(';'),
              "*.qor;*.bmp;*.jpg;*.jpe;*.jpeg;*.gif;*.ico;*.dib;*.wmf;*.emf;*.png;*.webp;*.tif;*.tiff;*.pnm;*.pbm;*.pgm;*.ppm");
}

TEST(BrowserRules, FolderRowsRunFromTheRootToTheSubfolders)
{
    QList<FolderRow> rows = folderRows("/home/u/", {"a", "b c"});
    ASSERT_EQ(rows.size(), 5);
    const QStringList paths = {"/", "/home", "/home/u", "/home/u/a", "/home/u/b c"};
    const QList<int> depths = {0, 1, 2, 3, 3};
    for (int i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].path, paths[i]);
        EXPECT_EQ(rows[i].depth, depths[i]);
        EXPECT_EQ(rows[i].current, i == 2);
    }
    EXPECT_EQ(rows[1].label, "home");

    rows = folderRows("/", {"etc"});
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].current);
    EXPECT_EQ(rows[1].path, "/etc");
    EXPECT_EQ(rows[1].depth, 1);
}

TEST(DriveList, OnlyVolumesAUserWouldSee)
{
    const QString home = "/home/u";
    auto visible = [&](const char *root, const char *device, const char *type) {
        return userVisibleVolume({root, {}, device, type, true}, home);
    };
    EXPECT_TRUE(visible("/media/u/CARD", "/dev/sdb1", "vfat"));
    EXPECT_TRUE(visible("/run/media/u/DISK", "/dev/sdc1", "ext4"));
    EXPECT_TRUE(visible("/mnt/share", "server:/export", "nfs4"));
    EXPECT_TRUE(visible("/mnt", "//server/pictures", "cifs"));
    EXPECT_TRUE(visible("/home/u/usb", "/dev/sdd1", "exfat"));
    // System places, kernel and memory file systems, packaged software.
    EXPECT_FALSE(visible("/boot", "/dev/sda1", "ext4"));
    EXPECT_FALSE(visible("/boot/efi", "/dev/sda2", "vfat"));
    EXPECT_FALSE(visible("/proc", "proc", "proc"));
    EXPECT_FALSE(visible("/run/user/1000", "tmpfs", "tmpfs"));
    EXPECT_FALSE(visible("/media/u/tmp", "tmpfs", "tmpfs"));
    EXPECT_FALSE(visible("/snap/core/1", "/dev/loop0", "squashfs"));
    EXPECT_FALSE(visible("/mediaextra", "/dev/sde1", "ext4"));
    EXPECT_FALSE(visible("/home/u", "/dev/sda3", "ext4")); // home is listed anyway
}

TEST(DriveList, HomeFirstThenTheRootThenEachVolumeOnce)
{
    const QList<Drive> drives = driveList({{"/", "rootfs", "/dev/sda1", "ext4", true},
                                           {"/media/u/CARD", "CARD", "/dev/sdb1", "vfat", true},
                                           {"/media/u/1234-ABCD", {}, "/dev/sdc1", "vfat", true},
                                           {"/media/u/CARD/", "CARD", "/dev/sdb1", "vfat", true}},
                                          "/home/u/");
    ASSERT_EQ(drives.size(), 4);
    EXPECT_EQ(drives[0].rootPath, "/home/u");
    EXPECT_EQ(drives[0].text, "u (/home/u)");
    EXPECT_EQ(drives[1].rootPath, "/");
    EXPECT_EQ(drives[1].text, "/");
    EXPECT_EQ(drives[2].name, "CARD");
    EXPECT_EQ(drives[2].text, "CARD (/media/u/CARD)");
    EXPECT_EQ(drives[3].name, "1234-ABCD"); // no label: the folder's name

    EXPECT_EQ(driveIndexOf(drives, "/home/u/pics"), 0);
    EXPECT_EQ(driveIndexOf(drives, "/home/u"), 0);
    EXPECT_EQ(driveIndexOf(drives, "/media/u/CARD/DCIM"), 2);
    EXPECT_EQ(driveIndexOf(drives, "/media/u/CARDS"), 1);
    EXPECT_EQ(driveIndexOf(drives, "/etc"), 1);
}

TEST(DriveList, ReadinessComesFromTheVolumeListNow)
{
    QTemporaryDir card;
    const QString root = QDir(card.path()).canonicalPath();
    bool ready = false, mounted = true;
    setVolumeSource([&] {
        QList<Volume> v;
        if (mounted)
            v.append({root, "card", "/dev/sdb1", "vfat", ready});
        return v;
    });
    const Drive drive = driveList(userVolumes(), QDir::homePath()).last();
    ASSERT_EQ(drive.rootPath, root);
    try {
        checkDriveReady(drive);
        ADD_FAILURE() << "a volume that is not ready was entered";
    } catch (const QuorError &e) {
        EXPECT_EQ(e.number, err::DriveNotReady);
    }
    ready = true;
    EXPECT_NO_THROW(checkDriveReady(drive));
    // Taken out: its folder stays behind but is no longer the volume.
    mounted = false;
    EXPECT_THROW(checkDriveReady(drive), QuorError);
    setVolumeSource({});
}
