#include "json/json_object.h"

#include <pthread.h>

#include <gtest/gtest.h>

#include "platform/components.h"
#include "platform/script/script_engine.h"
#include "support/gbk.h"

namespace suozhi {
namespace {

using test::G;

TEST(ReadJsonText, ResultTable) {
  const Text answer = R"({"code":200,"msg":"success","data":{"short_url":"a\/b","n":1.5,"neg":-3,)"
                      R"("t":true,"f":false,"z":null,"o":{"x":[1,"y"]},"cn":"中文","u":"\u2400"}})";
  const std::pair<const char*, const char*> cases[] = {
      {"code", "200"},
      {"data['short_url']", "a/b"},
      {"data.n", "1.5"},
      {"data['neg']", "-3"},
      {"data.t", "true"},
      {"data.f", "false"},
      {"data.z", "null"},
      {"data['long_url']", ""},
      {"nothing.here", ""},
      {"data.o", R"({"x":[1,"y"]})"},
      {"data.o.x", R"([1,"y"])"},
      {"data.cn", "中文"},
      {"data.u", "\\"},
      {"msg", "success"},
  };
  for (const auto& [path, expected] : cases) {
    Text json = G(answer);
    EXPECT_EQ(ReadJsonText(json, path), G(expected)) << path;
  }
}

TEST(ReadJsonText, AnswersThatDoNotParse) {
  const Text failed = G("JSON解析失败");
  for (const char* text : {"", "null", "{", "undefined", "\"abc\"", "\"\"", "<html>", "}{"}) {
    Text json = text;
    EXPECT_EQ(ReadJsonText(json, "code"), failed) << text;
  }
  Text zero = "0", no = "false", sum = "\"1+1\"";
  EXPECT_EQ(ReadJsonText(zero, ""), "0");
  EXPECT_EQ(ReadJsonText(no, ""), "false");
  EXPECT_EQ(ReadJsonText(sum, ""), "2");  // a string literal is evaluated twice
}

TEST(ReadJsonText, StripsLineBreaksFromTheCallersText) {
  Text json = "{\r\n  \"code\": 200,\r\n  \"data\": null\r\n}\r\n";
  EXPECT_EQ(ReadJsonText(json, "code"), "200");
  EXPECT_EQ(json.find_first_of("\r\n"), std::string::npos);
  Text nullData = R"({"code":200,"data":null})";
  EXPECT_EQ(ReadJsonText(nullData, "data['short_url']"), "");
  Text nullUrl = R"({"data":{"short_url":null}})";
  EXPECT_EQ(ReadJsonText(nullUrl, "data['short_url']"), "null");
}

TEST(JsonObject, PathsResolveAgainstTheDocument) {
  JsonObject j;
  ASSERT_TRUE(j.Parse(R"({"code":1,"data":{"short_url":"x"},"arr":[1,2]})"));
  const std::pair<const char*, const char*> paths[] = {
      {"code", "da.code"},
      {"[1]", "da[1]"},
      {"", "da"},
      {"data['short_url']", "da.data['short_url']"},
      {"da.code", "da.code"},
      {"da.missing", "da.da.missing"},
  };
  for (const auto& [in, out] : paths) {
    Text p = in;
    j.ResolvePath(p);
    EXPECT_EQ(p, out) << in;
  }
  const std::pair<const char*, int> types[] = {
      {"data.short_url", 6},  {"code", 2}, {"data", 4}, {"arr", 5}, {"missing", 0},
      {"missing.deeper", -1}, {"", 4},
  };
  for (const auto& [path, type] : types) EXPECT_EQ(j.GetType(path), type) << path;
  ASSERT_TRUE(j.Parse(R"({"t":true,"n":null})"));
  EXPECT_EQ(j.GetType("t"), 1);
  EXPECT_EQ(j.GetType("n"), 0);
}

TEST(JsonObject, BackslashesSurviveThePlainTextRoundTrip) {
  JsonObject j;
  j.Clear();
  EXPECT_EQ(j.ToText(), "{}");
  EXPECT_EQ(j.GetType(""), 4);
  const std::pair<Text, Text> cases[] = {
      {"it's", "\"it's\""},
      {"a\\b", "\"a\\b\""},  // the writer does not double it
      {"line\r\nnext", "\"line\\r\\nnext\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {G("中文\\路径"), G("\"中文\\路径\"")},
  };
  for (const auto& [value, json] : cases) {
    ASSERT_TRUE(j.SetProperty("v", value));
    EXPECT_EQ(j.GetText("v"), value);
    EXPECT_EQ(j.Stringify("v"), json);
  }
}

TEST(JsonObject, EditingOperations) {
  JsonObject j;
  ASSERT_TRUE(j.Parse(R"({"o":{"a":1},"arr":["x"],"n":5,"s":"t"})"));
  EXPECT_TRUE(j.SetProperty("o", R"({"b":2})", true));
  EXPECT_EQ(j.Stringify("o"), R"({"a":1,"b":2})");
  EXPECT_TRUE(j.SetProperty("arr", R"(["y"])", true));
  EXPECT_EQ(j.Stringify("arr"), R"(["x","y"])");
  EXPECT_TRUE(j.SetProperty("fresh", R"({"k":[1]})", true));
  EXPECT_EQ(j.Stringify("fresh"), R"({"k":[1]})");
  EXPECT_TRUE(j.SetProperty("o", R"({"a":7})", true));  // number members are replaced
  EXPECT_EQ(j.Stringify("o"), R"({"a":7,"b":2})");
  j.SetProperty("o", "", true);  // an empty value leaves an object as it is
  EXPECT_EQ(j.Stringify("o"), R"({"a":7,"b":2})");
  j.SetProperty("gone", "", true);  // and makes a missing member undefined
  EXPECT_EQ(j.ToText().find("gone"), std::string::npos);

  EXPECT_TRUE(j.PushItem("z", "missing"));
  EXPECT_EQ(j.Stringify("missing"), R"(["z"])");
  EXPECT_TRUE(j.PushItem("1", "n", true));
  EXPECT_EQ(j.Stringify("n"), "[1]");
  EXPECT_FALSE(j.PushItem("it's", "q"));
  EXPECT_EQ(j.GetCount("arr"), 2);
  EXPECT_EQ(j.GetCount("o"), 0);
  EXPECT_EQ(j.GetCount("nowhere"), 0);
  EXPECT_TRUE(j.SetItem(0, "arr", "w"));
  EXPECT_EQ(j.GetItemText(0, "arr"), "w");
  EXPECT_TRUE(j.RemoveItem(0, "arr"));
  EXPECT_EQ(j.Stringify("arr"), R"(["y"])");
  EXPECT_EQ(j.GetItemText(0, "n"), "");  // a number item has no replace
  EXPECT_EQ(j.GetItemText(0, "n", true), "1");
  EXPECT_TRUE(j.DeleteProperty("s"));
  EXPECT_EQ(j.ToText().find("\"s\""), std::string::npos);
  EXPECT_TRUE(j.SetNumber("num", 1.5));
  EXPECT_EQ(j.GetNumber("num"), 1.5);
  EXPECT_EQ(j.GetText("num"), "1.5");
  EXPECT_TRUE(j.SetPropertyJson("nested", R"({"deep":[true]})"));
  EXPECT_EQ(j.GetItemObject(0, "nested.deep").ToText(), "true");
  EXPECT_EQ(j.GetObjectAt("nested").ToText(), R"({"deep":[true]})");

  std::vector<Text> names{"old"};
  ASSERT_TRUE(j.Parse(R"({"a":1,"b":{"c":2}})"));
  EXPECT_EQ(j.GetPropertyNames(names, ""), 2);
  EXPECT_EQ(names, (std::vector<Text>{"a", "b"}));
  for (const char* doc : {"[1,2]", "\"'s'\"", "({})"}) {
    ASSERT_TRUE(j.Parse(doc)) << doc;
    EXPECT_EQ(j.GetPropertyNames(names, ""), 0) << doc;
    EXPECT_TRUE(names.empty());
  }
}

TEST(JsonObject, CopiesShareOneControl) {
  JsonObject a;
  ASSERT_TRUE(a.Parse(R"({"x":1})"));
  JsonObject b(a);
  EXPECT_TRUE(b.GetScriptControl().SameAs(a.GetScriptControl()));
  b.SetNumber("x", 2);
  EXPECT_EQ(a.GetText("x"), "2");
}

TEST(JsonObject, WithoutAScriptControlEverythingFailsQuietly) {
  automation::Unregister("MSScriptControl.ScriptControl");
  {
    JsonObject j;
    EXPECT_TRUE(j.GetScriptControl().IsEmpty());
    EXPECT_FALSE(j.Parse("{}"));
    EXPECT_EQ(j.GetText("x"), "");
    EXPECT_EQ(j.GetNumber("x"), 0);
    std::vector<Text> names{"x"};
    EXPECT_EQ(j.GetPropertyNames(names, ""), 0);
    Text json = R"({"code":200})";
    EXPECT_EQ(ReadJsonText(json, "code"), G("JSON解析失败"));
  }
  platform::RegisterScriptComponent();
}

// Hostile answers placed into the parse statement: each must fail within
// the engine's budget, and the next answer must be read as usual. The
// injection assigns the document before its endless loop, and what was
// assigned stays: it parses as the number 0, whose "code" is missing.
TEST(ReadJsonText, HostileAnswersFailWithinTheirBudget) {
  const Text failed = G("JSON解析失败");
  const std::pair<Text, Text> hostile[] = {
      {"while(1){}", failed},
      {"0);while(1){};(0", ""},
      {"(function f(){return f()})()", failed},
      {"(function f(){return 1+f()})()", failed},
      {"new Array(1e9).join('x')", failed},
      {"(function(){var s='x';while(true){s+=s}})()", failed},
      {Text(200000, '['), failed},
      {"({toString:function(){return this+''}})+''", failed},
      {"(function(){var a=[];while(true){a.push({})}})()", failed},
      {"/(a+)+b/.test('aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaac')",
       failed},
  };
  for (const auto& [text, expected] : hostile) {
    Text json = text;
    EXPECT_EQ(ReadJsonText(json, "code"), expected) << text.substr(0, 40);
    Text good = R"({"code":200})";
    EXPECT_EQ(ReadJsonText(good, "code"), "200");
  }
}

TEST(ScriptEngine, KeepsAnsweringAfterABrokenBound) {
  platform::script::Engine engine({200, 8u * 1024 * 1024});
  EXPECT_TRUE(engine.AddCode(u"var kept = 1; "));
  EXPECT_FALSE(engine.AddCode(u"kept = 2; while(1){}"));
  EXPECT_EQ(engine.Eval(u"kept")->GetNumber(), 2);  // assigned before the failure
  EXPECT_FALSE(engine.Eval(u"var s='x'; while(true) s+=s;"));
  EXPECT_EQ(engine.Eval(u"var g = 40 + 2; g")->GetNumber(), 42);
  EXPECT_EQ(engine.Eval(u"g")->GetNumber(), 42);  // a var in Eval defines a global
  EXPECT_LT(engine.MemoryInUse(), 8u * 1024 * 1024);
  EXPECT_TRUE(engine.Eval(u"undefined")->IsEmpty());
  EXPECT_FALSE(engine.Eval(u"syntax error here"));
}

TEST(ScriptEngine, AThreadWithTooLittleStackGetsNoEngine) {
  bool ok = true;
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 512 * 1024);
  pthread_t thread;
  auto body = [](void* result) -> void* {
    platform::script::Engine engine;
    *static_cast<bool*>(result) = engine.ok() || engine.Eval(u"1").has_value();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, body, &ok), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  EXPECT_FALSE(ok);
  EXPECT_TRUE(platform::script::Engine().ok());  // this thread has enough
}

TEST(ScriptEngine, TextsCrossBothWays) {
  platform::script::Engine engine;
  EXPECT_EQ(engine.Eval(u"'中文' + '\\u2400'")->GetWide(), u"中文\u2400");
  EXPECT_EQ(engine.Eval(u"'\\ud83d\\ude00'")->GetText(), "?");  // outside the code page
  EXPECT_EQ(engine.Eval(u"'\\ud800x'")->GetText(), "?x");       // a lone surrogate
  EXPECT_EQ(engine.Eval(u"'\\ud800'.length")->GetNumber(), 1);
  EXPECT_EQ(engine.Eval(std::u16string(u"'") + char16_t(0xDC00) + u"'.charCodeAt(0)")->GetNumber(),
            0xDC00);
  Text json = "{\"code\":\"\xFF\xFE\x81\"}";  // invalid code-page bytes
  EXPECT_FALSE(ReadJsonText(json, "code").empty());
}

}  // namespace
}  // namespace suozhi
