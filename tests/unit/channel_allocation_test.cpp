// Channel allocation against a simple reference model: after every step of long
// random sequences of create/delete/insert/remove the index, counts, group
// records, scan bits, references and region words must agree with the model.
#include "channel_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <set>

namespace vrl {
namespace {

using testing::ChannelFixture;
using Key = std::pair<int, int>; // (group, channel), 0-based

struct Reference {
    std::map<Key, long> channels; // channel -> receive frequency in Hz (its identity)
    std::optional<Key> home, priority;
    int limit = 128;

    int inGroup(int g) const {
        int n = 0;
        for (const auto& [k, v] : channels) n += k.first == g;
        return n;
    }
    void dropRef(const Key& k) {
        if (home == k) home.reset();
        if (priority == k) priority.reset();
    }
    bool create(const Key& k, long hz) {
        if (channels.count(k)) {
            channels[k] = hz;
            return true;
        }
        if (static_cast<int>(channels.size()) >= limit) return false;
        channels[k] = hz;
        return true;
    }
    void erase(const Key& k) {
        if (channels.erase(k)) dropRef(k);
    }
    void shift(int g, int from, int delta) {
        std::map<Key, long> next;
        for (const auto& [k, v] : channels) {
            if (k.first == g && k.second >= from) {
                dropRef(k);
                next[{g, k.second + delta}] = v;
            } else {
                next[k] = v;
            }
        }
        channels = next;
    }
    void insert(int g, int c, int perGroup) {
        if (inGroup(g) == 0 || channels.count({g, perGroup - 1})) return;
        shift(g, c, +1);
    }
    void remove(int g, int c) {
        if (inGroup(g) == 0) return;
        erase({g, c});
        shift(g, c + 1, -1);
    }
    // Channel Copy: false when the target had to be created and could not.
    bool copy(const Key& from, const Key& to) {
        if (!channels.count(from) || from == to) return true;
        if (!channels.count(to) && static_cast<int>(channels.size()) >= limit) return false;
        dropRef(to);
        channels[to] = channels[from];
        return true;
    }
    // Group Copy: false when the result would exceed the limit.
    bool copyGroup(int g, int to) {
        if (inGroup(g) == 0 || g == to) return true;
        if (static_cast<int>(channels.size()) + inGroup(g) - inGroup(to) > limit) return false;
        std::map<Key, long> next;
        for (const auto& [k, v] : channels) {
            if (k.first == to) dropRef(k);
            else next[k] = v;
        }
        for (const auto& [k, v] : channels)
            if (k.first == g) next[{to, k.second}] = v;
        channels = next;
        return true;
    }
};

std::string mhzText(long hz) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%ld.%05ld", hz / 1000000, (hz % 1000000) / 10);
    return buf;
}

void expectConsistent(ChannelFixture& f, const Reference& ref) {
    const CDataImage& img = f.image();
    ChannelStore& s = f.store;
    const int n = static_cast<int>(ref.channels.size());
    ASSERT_EQ(s.channelsInUse(), n);
    EXPECT_EQ(img.u8(0x000F), n == 0 ? 0xFF : n);

    // Index: packed, ordered, every entry pointing at a record that names it.
    std::set<int> usedSlots, usedGroupSlots;
    std::map<int, int> groupSlotOf;
    int i = 0;
    for (const auto& [key, hz] : ref.channels) {
        const size_t at = 0x0300 + 4 * i;
        ASSERT_EQ(img.u8(at), key.first + 1) << "entry " << i;
        ASSERT_EQ(img.u8(at + 1), key.second + 1) << "entry " << i;
        const int gslot = img.u8(at + 2), cslot = img.u8(at + 3);
        ASSERT_LT(cslot, 128);
        ASSERT_TRUE(usedSlots.insert(cslot).second) << "slot used twice";
        auto [it, fresh] = groupSlotOf.emplace(key.first, gslot);
        ASSERT_EQ(it->second, gslot) << "group with two slots";
        if (fresh) {
            ASSERT_TRUE(usedGroupSlots.insert(gslot).second);
        }
        const size_t r = 0x2000 + 48 * cslot;
        EXPECT_EQ(img.u8(r), key.second + 1);
        EXPECT_EQ(img.u8(r + 1), key.first + 1);
        EXPECT_EQ(s.getText(ChannelField::Receive, key.first, key.second), mhzText(hz));
        ++i;
    }
    for (int e = n; e < 250; ++e)
        ASSERT_EQ(img.u8(0x0300 + 4 * e), 0xFF) << "free entry " << e << " not erased";

    // Group records and counts.
    EXPECT_EQ(img.u8(0x000E), groupSlotOf.empty() ? 0xFF : groupSlotOf.size());
    for (int slot = 0; slot < 128; ++slot) {
        const size_t g = 0x1000 + 16 * slot;
        if (!usedGroupSlots.count(slot)) {
            EXPECT_EQ(img.u8(g), 0xFF) << "group slot " << slot;
            continue;
        }
        int group = -1;
        for (auto [gg, ss] : groupSlotOf)
            if (ss == slot) group = gg;
        EXPECT_EQ(img.u8(g), group + 1);
        EXPECT_EQ(img.u8(g + 1), ref.inGroup(group));
    }
    // Free channel slots are erased and in the scan list.
    for (int slot = 0; slot < 128; ++slot) {
        if (usedSlots.count(slot)) continue;
        for (int b = 0; b < 48; ++b) ASSERT_EQ(img.u8(0x2000 + 48 * slot + b), 0xFF);
        EXPECT_TRUE(img.bit(0x0070 + slot / 8, slot % 8));
        EXPECT_EQ(img.u8(0x7000 + 5 * slot), 0xFF);
    }
    // References.
    auto refPair = [](const std::optional<Key>& k) {
        return k ? std::pair<int, int>{k->first, k->second} : std::pair<int, int>{0xFF, 0xFF};
    };
    EXPECT_EQ((std::pair<int, int>{img.u8(0x0089), img.u8(0x0088)}), refPair(ref.home));
    EXPECT_EQ((std::pair<int, int>{img.u8(0x002B), img.u8(0x002C)}), refPair(ref.priority));

    // Region words.
    auto dir = img.directory();
    if (n == 0) {
        for (auto w : dir) EXPECT_EQ(w, 0xFFFF);
    } else {
        const int gEnd = 16 * (*usedGroupSlots.rbegin() + 1);
        const int cEnd = 48 * (*usedSlots.rbegin() + 1);
        EXPECT_EQ(dir[0], 3);
        EXPECT_EQ(dir[1], 3 + (4 * n - 1) / 256);
        EXPECT_EQ(dir[2], 0x10);
        EXPECT_EQ(dir[3], 0x10 + (gEnd - 1) / 256);
        EXPECT_EQ(dir[4], 0x20);
        EXPECT_EQ(dir[5], 0x20 + (cEnd - 1) / 256);
    }
}

// With `copies`, Channel Copy and Group Copy join the operations.
void runRandom(int row, int trunkingGroups, int groups, int channels, unsigned seed, int steps,
               bool copies = false) {
    ChannelFixture f(row, trunkingGroups);
    ChannelStore& s = f.store;
    Reference ref;
    ref.limit = s.maxChannels();
    std::mt19937 rng(seed);
    long nextHz = 150000000;
    for (int step = 0; step < steps; ++step) {
        const int g = static_cast<int>(rng() % groups);
        const int perGroup = s.channelsInGroup(g);
        const int c = static_cast<int>(rng() % std::min(channels, perGroup));
        const int op = static_cast<int>(rng() % (copies ? 12 : 10));
        SCOPED_TRACE("step " + std::to_string(step) + " op " + std::to_string(op) + " g " +
                     std::to_string(g) + " c " + std::to_string(c));
        if (op < 4) {
            nextHz += 12500;
            if (nextHz > 173000000) nextHz = 150000000;
            const bool expected = ref.create({g, c}, nextHz);
            const StoreResult r = s.setText(mhzText(nextHz), g, c, ChannelField::Receive);
            ASSERT_EQ(r == StoreResult::Ok, expected);
            if (!expected) {
                ASSERT_EQ(r, StoreResult::CannotCreate);
            }
        } else if (op < 6) {
            ref.erase({g, c});
            s.setText("", g, c, ChannelField::Receive);
        } else if (op == 6) {
            ref.insert(g, c, perGroup);
            s.insertChannel(g, c);
        } else if (op == 7) {
            ref.remove(g, c);
            s.removeChannel(g, c);
        } else if (op >= 10) {
            const int tg = s.groupCopyOffered() ? static_cast<int>(rng() % groups) : g;
            const int tc = static_cast<int>(rng() % std::min(channels, s.channelsInGroup(tg)));
            if (op == 10) {
                const bool fits = ref.copy({g, c}, {tg, tc});
                const CopyResult r = s.copyChannel(g, c, tg, tc);
                ASSERT_EQ(r == CopyResult::CannotCreate, !fits);
            } else if (s.groupCopyOffered()) {
                const bool fits = ref.copyGroup(g, tg);
                ASSERT_EQ(s.copyGroup(g, tg) == CopyResult::CannotCreate, !fits);
            } else {
                ASSERT_EQ(s.copyGroup(g, tg), CopyResult::NotOffered);
            }
        } else if (s.exists(g, c)) {
            const bool home = op == 8;
            s.setCheck(home ? ChannelField::Home : ChannelField::Priority, g, c, true);
            (home ? ref.home : ref.priority) = Key{g, c};
        }
        expectConsistent(f, ref);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

TEST(ChannelAllocation, RandomSequencesOn128ChannelModelKeepEverythingConsistent) {
    for (unsigned seed = 1; seed <= 4; ++seed) runRandom(testing::kRowMobile128, 0, 4, 60, seed, 1500);
}

TEST(ChannelAllocation, RandomSequencesFillingTheWholeMemory) {
    runRandom(testing::kRowMobile128, 0, 2, 128, 99, 3000);
}

TEST(ChannelAllocation, RandomSequencesOn32ChannelModelWithTrunkingGroups) {
    runRandom(testing::kRowPortable32, 3, 6, 20, 7, 2000);
}

TEST(ChannelAllocation, RandomSequencesWithChannelAndGroupCopies) {
    for (unsigned seed = 11; seed <= 13; ++seed)
        runRandom(testing::kRowMobile128, 0, 5, 40, seed, 1500, true);
    runRandom(testing::kRowPortable32, 3, 6, 20, 17, 1500, true);
}

TEST(ChannelAllocation, CreateWritesDefaultsOfANewChannel) {
    ChannelFixture f(testing::kRowMobile128, 0, 2);
    ASSERT_EQ(f.store.setText("150.5", 0, 4, ChannelField::Receive), StoreResult::Ok);
    const size_t r = 0x2000; // first free slot
    EXPECT_EQ(f.image().u8(r), 5);
    EXPECT_EQ(f.image().u8(r + 1), 1);
    // " CH   5 " with the last two characters blanked for the group name.
    EXPECT_EQ(f.image().readAscii(r + 2, 8), " CH     ");
    EXPECT_EQ(f.store.getText(ChannelField::Name, 0, 4), " CH");
    EXPECT_EQ(f.store.getText(ChannelField::Receive, 0, 4), "150.50000");
    EXPECT_EQ(f.image().u8(0x7000), 0x00); // ID "000"
    EXPECT_EQ(f.image().u8(0x7001), 0xF0);
    EXPECT_EQ(f.store.getText(ChannelField::IdCode, 0, 4), "000");
    EXPECT_EQ(f.store.getText(ChannelField::BeginOfTx, 0, 4), "");
    EXPECT_TRUE(f.image().bit(0x0070, 0));
    EXPECT_EQ(f.image().u8(0x1000), 1);
    EXPECT_EQ(f.image().u8(0x1001), 1);
    EXPECT_EQ(f.image().u8(0x000E), 1);
}

TEST(ChannelAllocation, SmallModelsGetNoDefaultName) {
    ChannelFixture f(testing::kRowMobile8);
    ASSERT_EQ(f.store.setText("150", 0, 0, ChannelField::Receive), StoreResult::Ok);
    EXPECT_EQ(f.image().u8(0x2002), 0xFF);
}

TEST(ChannelAllocation, ClearingReceiveDeletesAndFreesTheSlot) {
    ChannelFixture f(testing::kRowMobile128);
    f.store.setText("150", 0, 0, ChannelField::Receive);
    f.store.setCheck(ChannelField::ScanAdd, 0, 0, false);
    EXPECT_FALSE(f.image().bit(0x0070, 0));
    f.store.setText("", 0, 0, ChannelField::Receive);
    EXPECT_FALSE(f.store.exists(0, 0));
    EXPECT_TRUE(f.image().bit(0x0070, 0)); // freed slot's scan bit is 1
    EXPECT_EQ(f.image().u8(0x2000), 0xFF);
    EXPECT_TRUE(f.image().bit(0x0060, 0)); // last channel of the group: group bit set
}

TEST(ChannelAllocation, TrunkingGroupLeavesGroupScanOnCreate) {
    ChannelFixture f(testing::kRowPortable32, 2);
    f.image().setU8(0x0060, 0xFF);
    ASSERT_EQ(f.store.setText("150", 1, 0, ChannelField::Receive), StoreResult::Ok);
    EXPECT_FALSE(f.image().bit(0x0060, 0));
    EXPECT_FALSE(f.store.getGroupScan(1));
    ASSERT_EQ(f.store.setText("150", 2, 0, ChannelField::Receive), StoreResult::Ok);
    EXPECT_TRUE(f.image().bit(0x0060, 1)); // conventional group keeps its bit
}

TEST(ChannelAllocation, CannotCreateBeyondTheModelLimit) {
    ChannelFixture f(testing::kRowMobile8);
    for (int c = 0; c < 8; ++c) ASSERT_EQ(f.store.setText("150", 0, c, ChannelField::Receive), StoreResult::Ok);
    EXPECT_FALSE(f.store.canCreate());
    EXPECT_EQ(f.store.freeChannelMemory(), 0);
    // Out of range positions are refused without touching the image.
    EXPECT_EQ(f.store.createChannel(0, 8), StoreResult::Invalid);
    EXPECT_EQ(f.store.createChannel(1, 0), StoreResult::Invalid);
}

TEST(ChannelAllocation, InsertAndRemoveAreRefusedOnConventionalGroupsOfSmallTrunkingModels) {
    ChannelFixture f(testing::kRowMobile8, 2);
    ASSERT_EQ(f.store.groupCount(), 8);
    ASSERT_EQ(f.store.channelsInGroup(0), 16);
    ASSERT_EQ(f.store.channelsInGroup(2), 1);
    f.store.setText("150", 2, 0, ChannelField::Receive);
    EXPECT_FALSE(f.store.removeChannel(2, 0));
    EXPECT_TRUE(f.store.exists(2, 0));
    f.store.setText("150", 1, 3, ChannelField::Receive);
    EXPECT_TRUE(f.store.insertChannel(1, 0));
    EXPECT_TRUE(f.store.exists(1, 4));
}

TEST(ChannelAllocation, AdjustTrunkingGroupsTrimsNewTrunkingGroupsTo16Channels) {
    ChannelFixture f(testing::kRowMobile128, 1);
    f.store.setText("150", 2, 0, ChannelField::Receive);
    f.store.setText("150", 2, 20, ChannelField::Receive);
    f.store.setCheck(ChannelField::Priority, 2, 0, true);
    f.image().setU8(0x0087, 3);
    f.store.adjustTrunkingGroups(1, 3);
    EXPECT_TRUE(f.store.exists(2, 0));
    EXPECT_FALSE(f.store.exists(2, 20));
    EXPECT_EQ(f.image().u8(0x002B), 0xFF);
    EXPECT_FALSE(f.store.getGroupScan(2));
}

TEST(ChannelAllocation, DeleteGroupChannelsEmptiesTheGroup) {
    ChannelFixture f(testing::kRowMobile8, 3);
    for (int c = 0; c < 16; c += 3) f.store.setText("150", 2, c, ChannelField::Receive);
    f.store.setText("150", 0, 0, ChannelField::Receive);
    f.store.deleteGroupChannels(2);
    EXPECT_FALSE(f.store.groupExists(2));
    EXPECT_TRUE(f.store.exists(0, 0));
    EXPECT_EQ(f.store.channelsInUse(), 1);
}

} // namespace
} // namespace vrl
