// The helper functions placed in every script control before a document.
#pragma once

#include <string_view>

namespace suozhi {

// get__count(c): the length of an array, 0 for anything else.
// get__name_All(a): the names of a plain object's members that are not
//   functions, in the engine's for-in order, joined with CR LF. The order is
//   the engine's: it lists integer-like names first, ascending, and the
//   other names in insertion order after them.
// get__extend(target, source): appends an array's items, or merges an
//   object's members into target: strings, booleans, numbers and missing
//   members are replaced, nested objects merged (a null member replaced),
//   function members left alone. Returns target, changed in place.
// The engine's own JSON object serves for stringify and parse: its output is
// compact and leaves U+2400 unescaped.
inline constexpr std::string_view kHelperScript =
    "function get__count(c){if(Object.prototype.toString.call(c)==='[object Array]')"
    "{return c.length}return 0}"
    "function get__name_All(a){if(Object.prototype.toString.call(a)==='[object Object]')"
    "{var n=[];for(var k in a){if(typeof a[k]!=='function'){n.push(k)}}return n.join('\\r\\n')}"
    "return ''}"
    "function get__extend(target,source){"
    "if(Object.prototype.toString.call(target)==='[object Array]')"
    "{for(var i=0;i<source.length;i++){target.push(source[i])}return target}"
    "for(var k in source){var t=typeof target[k];"
    "if(t==='string'||t==='boolean'||t==='undefined'||t==='number'){target[k]=source[k]}"
    "else if(t==='object'){target[k]=target[k]===null?source[k]:get__extend(target[k],source[k])}"
    "}return target}";

}  // namespace suozhi
