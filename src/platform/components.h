// Registration of the platform's in-process components under the names the
// program creates them by. Each front end (and the test runner) calls the
// ones it links before the first component is created.
#pragma once

namespace suozhi::platform {

// "VBScript.RegExp", on PCRE2.
void RegisterRegExpComponent();
// "MSScriptControl.ScriptControl", on Duktape.
void RegisterScriptComponent();

}  // namespace suozhi::platform
