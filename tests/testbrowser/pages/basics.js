// Properties, methods, values in both directions, exceptions and enumeration on a plug-in object.
plugin.baReaderName = "Virtual PCD 00 00";
assertEqual(plugin.baReaderName, "Virtual PCD 00 00", "text property reads back");
plugin.baReaderName = 42;
assertEqual(plugin.baReaderName, "42", "a number written to a text property");
plugin.ratio = 0.25;
assertEqual(plugin.ratio, 0.25, "double property");
assertEqual(typeof plugin.count, "number", "int property reads as a number");

assertEqual(plugin.greet("Ann"), "Hello, Ann");
assertEqual(plugin.greet("雙十"), "Hello, 雙十", "UTF-8 both ways");
assertEqual(plugin.add(2, 3), 5);
assertEqual(plugin.add(2.5, 1), 3.5);
assertEqual(plugin.add(2147483647, 0), 2147483647);
assertEqual(plugin.param("width"), "300", "tag parameters reach the plug-in");
assertEqual(plugin.param("nothing"), null);
assertEqual(plugin.pageLocation(), "https://atm.example/atm/index.html?x=1", "window.location.href");
assertEqual(plugin.elementId(), "plugin", "the plug-in's element");
assertEqual(plugin.callback(function (x) { return x * 2; }, 21), 42, "page function called by the plug-in");

// Exceptions set by the plug-in reach the page with their text.
var caught = null;
try { plugin.fail("card removed"); } catch (e) { caught = e.message; }
assertEqual(caught, "card removed");
caught = null;
try { plugin.count = 3; } catch (e) { caught = e.message; }
assertEqual(caught, "count is read-only");
caught = null;
try { plugin.add("a"); } catch (e) { caught = e.message; }
assertEqual(caught, "add needs two numbers");

// Objects keep their identity; children are plug-in objects too.
var child = plugin.makeChild();
assertEqual(child.generation, 1);
assertEqual(child.makeChild().generation, 2);
assert(document.getElementById("plugin") === plugin, "element by id");
assert(("greet" in plugin) && !("nothing" in plugin), "in");

// Enumeration: every property and method name.
var names = Object.keys(plugin);
assert(names.indexOf("baReaderName") >= 0 && names.indexOf("greet") >= 0 && names.length === 28,
       "enumeration gave " + names.join(","));
assertEqual(String(plugin), "[object NPObject]");
console.log("basics done");
