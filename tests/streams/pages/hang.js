// A server that stops answering, before its answer or midway through the body: the browser gives up at its
// time limit, and each stream ends once, in failure; the helper hands over no part of the body.
var base = location.protocol + "//" + location.host;
testbrowser.network("timeout", "200");
var a = plugin.get(base + "/stall/ten.txt", "buffer=4");
var b = plugin.get(base + "/hang/4/ten.txt", "buffer=4");
var f = plugin.fetch(base + "/hang/6/ten.txt", "");
later(function () {
  assertEqual(plugin.log(a), "Created;Completed failed;Destroyed", "no answer at all");
  assertEqual(plugin.log(b), "Created;Opened;Data 0 4 40;Completed failed;Destroyed", "silent midway");
  assertEqual(fetched[f].ok, false, "the helper reports the failure");
  assertEqual(fetched[f].body, "", "and no partial body");
  console.log("hang done");
});
