// Properties written and read back; a long reaches the page as decimal text, an int as a number.
plugin.baReaderName = "Virtual PCD 00 00";
assertEqual(plugin.baReaderName, "Virtual PCD 00 00", "text property");
plugin.baRemark = "雙十 remark";
assertEqual(plugin.baRemark, "雙十 remark", "UTF-8 both ways");
// Text is carried by its length: a zero character stays inside it, both ways.
assertEqual(plugin.echo("a\u0000b"), "a\u0000b", "a zero character inside text");
// Every numeric property of the page object is a long: it reads back as decimal text.
plugin.iNoR = 3;
assertEqual(plugin.iNoR, "3", "a long property reads back as text");
// An int stays a number on its way through the plug-in.
assertEqual(plugin.echo(3), 3, "an int reads back as a number");
assertEqual(plugin.echo(2.5), 2.5);
plugin.ulLen = 70000;
assertEqual(plugin.ulLen, "70000", "a long property reads back as text");
plugin.ulLen = "42";
assertEqual(plugin.ulLen, "42", "text written to a long property");
assertEqual(typeof plugin.GetAPIVersion(), "string");
// A page method that returns a long: its result code as a string of digits.
assertEqual(plugin.DisConnectCard(), plugin.DisConnectCard(), "codes are comparable text");
assertEqual(typeof plugin.DisConnectCard(), "string");

// Read-only properties keep their value.
var version = plugin.version;
plugin.version = "9.9";
assertEqual(plugin.version, version, "a read-only property is not changed");

// Writing a method's name is refused with the binding's message.
var caught = null;
try { plugin.ListReaders = 1; } catch (e) { caught = e.message; }
assertEqual(caught, "This property cannot be changed");

// Enumeration: every registered name, then the three built-ins.
var names = Object.keys(plugin);
["ListReaders", "Transfer", "TrnsMsg", "baReaderName", "version"].forEach(function (n) {
  assert(names.indexOf(n) >= 0, n + " is enumerated");
});
assertEqual(names.slice(-3).join(), "addEventListener,removeEventListener,getLastException");

// A bad call: the page gets the exception, and getLastException keeps its text.
caught = null;
try { plugin.addEventListener("echo"); } catch (e) { caught = e.message; }
assertEqual(caught, "Invalid Arguments");
assertEqual(plugin.getLastException(), "Invalid Arguments");
caught = null;
try { plugin.addEventListener("echo", 5); } catch (e) { caught = e.message; }
assertEqual(caught, "bad cast", "a listener that is no function");
caught = null;
try { plugin.caReaderGet("not a number"); } catch (e) { caught = e.message; }
assert(caught !== null && caught.length > 0, "a conversion failure is reported");
assertEqual(plugin.getLastException(), caught, "the last exception follows the last failure");
console.log("values done");
