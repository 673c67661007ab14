#include <gtest/gtest.h>

#include "automation/client_contract.h"

TEST(Contract, AddressPrefix) { EXPECT_STREQ(wendrel::kPrivateRoomAddress, "aol://2719:2-2-"); }
