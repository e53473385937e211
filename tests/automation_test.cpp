#include "runtime/automation.h"

#include <gtest/gtest.h>

#include "support/gbk.h"

namespace suozhi {
namespace {

using namespace automation;

// A tiny component: a "Value" property, an indexed "Item" property, and the
// methods "Echo", "Twice", "Self" and "Fail".
class Counter : public Component {
 public:
  bool GetProperty(std::string_view name, std::span<const Variant> args, Variant& out) override {
    if (SameName(name, "Value")) {
      out = value_;
      return true;
    }
    if (SameName(name, "Item") && args.size() == 1) {
      const int i = static_cast<int>(args[0].GetNumber());
      if (i < 0 || i > 2) return false;
      out = Variant(i * 10);
      return true;
    }
    return false;
  }
  bool PutProperty(std::string_view name, const Variant& value) override {
    if (!SameName(name, "Value")) return false;
    value_ = value;
    return true;
  }
  bool Call(std::string_view method, std::span<const Variant> args, Variant& out) override {
    if (SameName(method, "Echo") && args.size() == 1) {
      out = args[0];
      return true;
    }
    if (SameName(method, "Twice") && args.size() == 1) {
      out = Variant(args[0].GetNumber() * 2);
      return true;
    }
    if (SameName(method, "Self")) {
      out = Variant(AutomationObject(std::make_shared<Counter>()));
      return true;
    }
    if (SameName(method, "Throw")) throw std::runtime_error("component failure");
    return false;
  }

 private:
  Variant value_;
};

class Automation : public ::testing::Test {
 protected:
  void SetUp() override {
    Register("Test.Counter", [] { return std::make_shared<Counter>(); });
  }
  void TearDown() override { Unregister("Test.Counter"); }
};

TEST_F(Automation, CreateByNameAndCopyShareOneComponent) {
  AutomationObject a;
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_FALSE(Create(a, "No.Such.Thing"));
  EXPECT_TRUE(a.IsEmpty());
  ASSERT_TRUE(Create(a, "test.counter"));  // names ignore case
  AutomationObject b = a;
  EXPECT_TRUE(b.SameAs(a));
  EXPECT_TRUE(WriteProperty(a, "value", Variant::FromText(test::G("中文"))));
  EXPECT_EQ(ReadText(b, "Value"), test::G("中文"));
  AutomationObject before = a;
  EXPECT_FALSE(Create(a, "No.Such.Thing"));  // a failed create keeps what was held
  EXPECT_TRUE(a.SameAs(before));
  a.Clear();
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(ReadText(b, "Value"), test::G("中文"));
}

TEST_F(Automation, EveryFailureGivesTheEmptyResult) {
  AutomationObject empty, c;
  ASSERT_TRUE(Create(c, "Test.Counter"));
  EXPECT_FALSE(WriteProperty(empty, "Value", Variant(1)));
  EXPECT_EQ(ReadText(empty, "Value"), "");
  EXPECT_EQ(ReadNumber(c, "Missing"), 0);
  EXPECT_EQ(ReadNumber(c, "Item", {Variant(7)}), 0);
  EXPECT_EQ(ReadNumber(c, "Item", {Variant(2)}), 20);
  EXPECT_FALSE(CallBool(c, "Nope"));
  EXPECT_EQ(CallText(c, "Throw"), "");
  EXPECT_TRUE(CallObject(c, "Echo", {Variant(1)}).IsEmpty());
  EXPECT_FALSE(CallObject(c, "Self").IsEmpty());
  EXPECT_EQ(CallNumber(c, "Twice", {Variant::FromText("21")}), 42);
  EXPECT_EQ(CallNumber(c, "Twice", {Variant::FromText("x1")}), 0);
}

TEST(VariantConversion, Table) {
  EXPECT_EQ(Variant(false).GetText(), "0");
  EXPECT_EQ(Variant(true).GetText(), "-1");
  EXPECT_EQ(Variant(1.5).GetText(), "1.5");
  EXPECT_EQ(Variant(200).GetText(), "200");
  EXPECT_EQ(Variant().GetText(), "");
  EXPECT_EQ(Variant(true).GetNumber(), -1);
  EXPECT_EQ(Variant::FromText(" 2.5 ").GetNumber(), 2.5);
  EXPECT_EQ(Variant::FromText("+3").GetNumber(), 3);
  EXPECT_EQ(Variant::FromText("3x").GetNumber(), 0);
  EXPECT_TRUE(Variant::FromText("True").GetBool());
  EXPECT_TRUE(Variant(0.5).GetBool());
  EXPECT_TRUE(Variant::FromText("abc").GetBool());
  EXPECT_FALSE(Variant::FromText("false").GetBool());
  EXPECT_FALSE(Variant::FromText("0").GetBool());
  EXPECT_FALSE(Variant::FromText("").GetBool());
  EXPECT_FALSE(Variant(0).GetBool());
  EXPECT_EQ(Variant::FromText("\xD6\xD0").GetWide(), u"中");
}

TEST(CoInitialize, CountsPerThread) {
  const int base = CoInitializeCount();
  CoInitialize(nullptr);
  CoInitialize(nullptr);
  EXPECT_EQ(CoInitializeCount(), base + 2);
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoInitializeCount(), base);
  std::thread([] {
    EXPECT_EQ(CoInitialize(nullptr), 0);
    EXPECT_EQ(CoInitializeCount(), 1);
  }).join();
}

}  // namespace
}  // namespace suozhi
