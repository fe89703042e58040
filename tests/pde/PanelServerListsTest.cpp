// The panel reads the server lists of the host's PPD in the rows the print
// service facade gives: what a server sent is what the panes get.
#include <gtest/gtest.h>

#include "PDE/KemoPDEByCocoa.h"
#include "host/PanelHost.h"

using namespace paneltest;

TEST(PanelServerLists, ThePanelReadsTheFacadesRowsFromThePpd) {
    kzp::PanePlugInMgr::destroySharedInstance();
    auto bundle = kz::Bundle::open(kBundle);
    ASSERT_NE(bundle, nullptr);
    bundle->setLanguages({"en"});
    auto host = std::make_shared<MarkingHost>();
    auto panel = kzp::KemoPDEByCocoa::initWithCallback(host, bundle);

    const kz::Value feeders = panel->sendCommand("FeederInfoList");
    ASSERT_TRUE(feeders.isArray());
    ASSERT_FALSE(feeders.array().empty());
    for (const kz::Value& row : feeders.array()) {
        ASSERT_TRUE(row.isArray());
        ASSERT_EQ(row.array().size(), 2u);
        EXPECT_EQ(row.array()[1], kz::Value("Number"));
    }
    EXPECT_EQ(kzp::PanePlugInMgr::sharedInstance().getFeederInfoList(), feeders);
    const kz::Value folders = kzp::PanePlugInMgr::sharedInstance().getJobFolderList();
    ASSERT_TRUE(folders.isArray() && folders.array().size() >= 2);
    EXPECT_EQ(folders.array()[0].array()[1], kz::Value(""));  // the common folder's row
    panel.reset();
    kzp::PanePlugInMgr::destroySharedInstance();
}
