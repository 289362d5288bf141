// Two instances side by side, one refused by the plug-in, and calls after an instance is destroyed.
first.baReaderName = "A";
second.baReaderName = "B";
assertEqual(first.baReaderName + second.baReaderName, "AB", "instances keep their own state");
assertEqual(second.param("flavour"), "plain", "object parameters");
assertEqual(testbrowser.newResult("refused"), 1, "NPP_New refusal reported");
assertEqual(refused.greet, undefined, "a refused instance has no scriptable object");

var greet = first.greet;
var child = first.makeChild();
assert(testbrowser.destroy("first"), "destroyed");
assert(!testbrowser.destroy("first"), "destroyed only once");
assertEqual(first.greet, undefined, "the element no longer reaches the plug-in");
var message = null;
try { greet("x"); } catch (e) { message = e.message; }
assert(message && message.indexOf("no longer available") >= 0, "a kept method fails cleanly: " + message);
assertEqual(child.generation, undefined, "a kept child object answers nothing");
assertEqual(second.greet("still"), "Hello, still", "the other instance is untouched");
console.log("instances done");
