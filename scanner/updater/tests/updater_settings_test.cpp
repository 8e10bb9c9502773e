// The updater's values in the device registry: the address list, its slash rule, defaults and
// saving.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RegKey.h"
#include "scanner/settings/tests/SettingsKey.h"
#include "scanner/updater/UpdaterSettings.h"
#include "scanner/updater/tests/UpdaterFixture.h"

namespace scanner {
namespace {

using testing::Utf16Bytes;

class UpdaterSettings : public testing::UpdaterFixture {
 protected:
  static std::vector<std::u16string> Urls(const UpdaterState& updater) {
    std::vector<std::u16string> urls;
    for (int32_t i = 0; i < updater.urlCount; ++i)
      urls.emplace_back(platform::FieldText(updater.urls[i]));
    return urls;
  }
  static std::vector<std::string> UpdaterValueNames() {
    std::vector<std::string> names;
    EXPECT_EQ(Key(kUpdaterKey).ValueNames(&names), 0u);
    return names;
  }
};

TEST_F(UpdaterSettings, LoadReadsEveryValueAndAppendsTheMissingSlash) {
  StoreMainText(kBasesValue, u"\\Storage Card\\Bases\\");
  StoreUpdaterText(kFileValue, u"Base.zvb");
  ASSERT_EQ(Key(kUpdaterKey).SetDword(kFrequencyValue, 7), 0u);
  StoreUrls({"http://a.example/bases", "http://b.example/x/", "http://c.example\\d\\"});
  UpdaterState updater;
  ASSERT_EQ(LoadUpdaterSettings(updater), 0u);
  EXPECT_EQ(platform::FieldText(updater.basesFolder), u"\\Storage Card\\Bases\\");
  EXPECT_EQ(platform::FieldText(updater.fileName), u"Base.zvb");
  EXPECT_EQ(updater.frequency, 7u);
  EXPECT_EQ(Urls(updater),
            (std::vector<std::u16string>{u"http://a.example/bases/", u"http://b.example/x/",
                                         u"http://c.example\\d\\"}));
}

TEST_F(UpdaterSettings, ListEndsAtTheFirstMissingNumber) {
  StoreUrls({"http://a/", "http://b/"});
  StoreUpdaterText(u"Url3", u"http://d/");
  UpdaterState updater;
  ASSERT_EQ(LoadUpdaterSettings(updater), 0u);
  EXPECT_EQ(Urls(updater), (std::vector<std::u16string>{u"http://a/", u"http://b/"}));
}

TEST_F(UpdaterSettings, ValuesThatAreNoFittingTextArePassedOver) {
  StoreUrls({"http://a/"});
  ASSERT_EQ(Key(kUpdaterKey).SetDword(u"Url1", 5), 0u);
  StoreUpdaterText(u"Url2", std::u16string(300, u'x'));  // beyond the 520 bytes read
  // 259 characters fit the field, but not with the slash that must follow.
  StoreUpdaterText(u"Url3", u"http://" + std::u16string(252, u'y'));
  StoreUpdaterText(u"Url4", u"http://e/");
  UpdaterState updater;
  ASSERT_EQ(LoadUpdaterSettings(updater), 0u);
  EXPECT_EQ(Urls(updater), (std::vector<std::u16string>{u"http://a/", u"http://e/"}));
}

TEST_F(UpdaterSettings, MissingValuesTakeTheirDefaults) {
  ASSERT_EQ(Key(kSettingsKey).DeleteValue(kBasesValue), 0u);
  UpdaterState updater;
  updater.frequency = 99;
  ASSERT_EQ(LoadUpdaterSettings(updater), 0u);
  EXPECT_EQ(updater.frequency, 3u);
  EXPECT_EQ(platform::FieldText(updater.fileName), u"ZEPBase.zvb");
  EXPECT_EQ(platform::FieldText(updater.basesFolder), ProgramDeviceFolder());
  EXPECT_EQ(updater.urlCount, 0);
  // The key is created when missing.
  platform::RegKey key;
  EXPECT_EQ(key.Open(CurrentUser(), kUpdaterKey), 0u);
}

TEST_F(UpdaterSettings, SavingTwoAddressesAfterFourLeavesExactlyUrl0AndUrl1) {
  StoreUrls({"http://a/", "http://b/", "http://c/", "http://d/"});
  StoreUpdaterText(kFileValue, u"ZEPBase.zvb");
  UpdaterState updater;
  ASSERT_EQ(LoadUpdaterSettings(updater), 0u);
  platform::CopyToField(updater.urls[0], u"http://new.example/bases");
  platform::CopyToField(updater.urls[1], u"http://b/");
  updater.urlCount = 2;
  updater.frequency = 12;  // not written
  ASSERT_EQ(SaveUpdaterSettings(updater), 0u);

  EXPECT_EQ(UpdaterValueNames(), (std::vector<std::string>{"File", "Url0", "Url1"}));
  platform::RegValue value;
  ASSERT_EQ(Key(kUpdaterKey).QueryValue(u"Url0", &value), 0u);
  EXPECT_EQ(value.type, platform::REG_SZ);
  EXPECT_EQ(value.data, Utf16Bytes(u"http://new.example/bases/", false));  // no terminator

  UpdaterState again;
  ASSERT_EQ(LoadUpdaterSettings(again), 0u);
  EXPECT_EQ(Urls(again), (std::vector<std::u16string>{u"http://new.example/bases/", u"http://b/"}));
}

TEST_F(UpdaterSettings, ListWithAGapIsSavedWithoutOne) {
  StoreUrls({"http://a/"});
  StoreUpdaterText(u"Url5", u"http://stale/");
  UpdaterState updater;
  ASSERT_EQ(LoadUpdaterSettings(updater), 0u);
  ASSERT_EQ(SaveUpdaterSettings(updater), 0u);
  EXPECT_EQ(UpdaterValueNames(), std::vector<std::string>{"Url0"});
}

TEST_F(UpdaterSettings, UnusableRegistryGivesTheErrorAndAnEmptyList) {
  UpdaterState updater;
  updater.urlCount = 1;
  BreakRegistry();
  EXPECT_NE(LoadUpdaterSettings(updater), 0u);
  EXPECT_EQ(updater.urlCount, 0);
  EXPECT_NE(SaveUpdaterSettings(updater), 0u);
}

TEST(UpdaterValues, SlashRuleAndFieldFit) {
  EXPECT_EQ(WithTrailingSlash(u"http://a"), u"http://a/");
  EXPECT_EQ(WithTrailingSlash(u"http://a/"), u"http://a/");
  EXPECT_EQ(WithTrailingSlash(u"\\\\server\\bases\\"), u"\\\\server\\bases\\");
  EXPECT_EQ(WithTrailingSlash(u""), u"");
  EXPECT_TRUE(FitsUrlField(std::u16string(258, u'a')));
  EXPECT_FALSE(FitsUrlField(std::u16string(259, u'a')));
  EXPECT_TRUE(FitsUrlField(std::u16string(258, u'a') + u"/"));
  EXPECT_EQ(UrlValueName(0), u"Url0");
  EXPECT_EQ(UrlValueName(9), u"Url9");
}

TEST(UpdaterValues, UrlFromValueDecodesTextOnly) {
  std::u16string url;
  EXPECT_TRUE(UrlFromValue(platform::REG_SZ, Utf16Bytes(u"http://a", false), url));
  EXPECT_EQ(url, u"http://a/");
  std::vector<uint8_t> odd = Utf16Bytes(u"http://b/");
  odd.push_back(0x41);
  EXPECT_TRUE(UrlFromValue(platform::REG_EXPAND_SZ, odd, url));
  EXPECT_EQ(url, u"http://b/");
  std::vector<uint8_t> inner = Utf16Bytes(u"http://c/");
  const std::vector<uint8_t> tail = Utf16Bytes(u"junk");
  inner.insert(inner.end(), tail.begin(), tail.end());
  EXPECT_TRUE(UrlFromValue(platform::REG_SZ, inner, url));
  EXPECT_EQ(url, u"http://c/");

  url = u"unchanged";
  EXPECT_FALSE(UrlFromValue(platform::REG_DWORD, {{1, 0, 0, 0}}, url));
  EXPECT_FALSE(UrlFromValue(platform::REG_SZ, Utf16Bytes(u""), url));
  EXPECT_FALSE(UrlFromValue(platform::REG_SZ, Utf16Bytes(std::u16string(260, u'a'), false), url));
  EXPECT_EQ(url, u"unchanged");
}

}  // namespace
}  // namespace scanner
