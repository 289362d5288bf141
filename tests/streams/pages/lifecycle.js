// A whole stream: created, opened, blocks with offsets and progress, one completion, then destroyed, with
// the browser's destroy and notify in either order; then a cached stream without a length (progress 0),
// which the browser also hands over as a file.
var whole = "Created;Opened;Data 0 4 40;Data 4 4 80;Data 8 2 100;Completed ok;Destroyed";
var a = plugin.get(here + "data/ten.txt", "buffer=4");
later(function () {
  assertEqual(plugin.log(a), whole, "destroy, then notify");
  assertEqual(plugin.body(a), "0123456789");
  assertEqual(done[a], true, "completed with success");
  testbrowser.network("order", "notifyfirst");
  var b = plugin.get(here + "data/ten.txt", "buffer=4");
  later(function () {
    assertEqual(plugin.log(b), whole, "notify, then destroy");
    testbrowser.network("order", "destroyfirst");
    testbrowser.network("unknownlength", "yes");
    testbrowser.network("chunk", "3");
    var c = plugin.get(here + "data/ten.txt", "cached");
    later(function () {
      assertEqual(plugin.log(c), "Created;Opened;Data 0 3 0;Data 3 3 0;Data 6 3 0;Data 9 1 0;Completed ok;Destroyed",
                  "no length given");
      assert(plugin.cacheFile(c).indexOf("/testbrowser-stream-") > 0, "a cached stream came as a file too");
      assertEqual(plugin.cacheFile(a), "", "an uncached one did not");
      console.log("lifecycle done");
    });
  });
});
