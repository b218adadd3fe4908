#include "transfer/TransferForm.h"
#include "transfer/TransferTexts.h"

#include "../users/UsersTestSupport.h"

namespace deskwarden::test {
namespace {

using namespace deskwarden::transfer;

class TransferRowsTest : public UserStoresTest
{
};

TEST_F(TransferRowsTest, EveryProgramUserButTheBuiltInAdministrator)
{
    AddProgramUser("Administrator", 0);
    AddProgramUser("tanaka", 1);
    AddProgramUser("admin", 0);
    AddAccount("accountonly", "pw");
    std::vector<std::string> ids;
    for (const users::UserRow& row : TransferRows(m_users, m_accounts)) {
        ids.push_back(row.id);
    }
    EXPECT_EQ(ids, (std::vector<std::string> {"tanaka", "admin"}));
}

TEST(TransferForm, SendingNeedsAnAddressAndAUser)
{
    EXPECT_EQ(SendRefusal("", "tanaka"), std::optional<std::string>(kNoAddress));
    EXPECT_EQ(SendRefusal("0.0.0.0", "tanaka"), std::optional<std::string>(kNoAddress));
    EXPECT_EQ(SendRefusal("10.0.0.2", ""), std::optional<std::string>(kNoUserChosen));
    EXPECT_EQ(SendRefusal("10.0.0.2", "tanaka"), std::nullopt);
}

TEST(TransferForm, NeighboursFromTheKernelTableAndTheHostsFile)
{
    const std::string arp = "IP address       HW type     Flags       HW address            Mask     Device\n"
                            "10.0.0.7         0x1         0x2         52:54:00:12:34:56     *        eth0\n"
                            "10.0.0.9         0x1         0x0         00:00:00:00:00:00     *        eth0\n"
                            "10.0.0.8         0x1         0x2         52:54:00:12:34:57     *        eth0\n";
    const std::string hosts = "127.0.0.1 localhost\n127.0.1.1 self\n::1 ip6-localhost\n"
                              "# 10.0.0.3 commented\n10.0.0.4 office-pc office\n10.0.0.7 10.0.0.7\n";
    EXPECT_EQ(NeighbourNames(arp, hosts), (std::vector<std::string> {"10.0.0.7", "10.0.0.8", "office-pc"}));
    EXPECT_TRUE(NeighbourNames("", "").empty());
    EXPECT_EQ(ComputerName("\\\\office-pc\\"), "OFFICE-PC");
    EXPECT_EQ(ComputerName("\\\\\\"), "");
}

} // namespace
} // namespace deskwarden::test
