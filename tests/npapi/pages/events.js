// Events go out only after the call that fires them: listeners through the page's timer, the handler
// stored under the event's name through the main-thread hand-off.
var heard = [], stored = [];
function listener(text, count) { heard.push(text + count); }
plugin.addEventListener("echo", listener, false);
plugin.onecho = function (text, count) { stored.push(count); };
plugin.echo("x");
assertEqual(heard.length, 0, "not inside the firing call");
assertEqual(stored.length, 0, "not inside the firing call");
setTimeout(function () {
  assertEqual(heard.length, 1, "the listener heard the event after the loop ran");
  assert(heard[0].indexOf("So far, you clicked this many times: ") === 0, heard[0]);
  assertEqual(stored.length, 1, "the stored handler was called too");
  plugin.removeEventListener("echo", listener, false);
  plugin.onecho = null;
  plugin.echo("y");
  setTimeout(function () {
    assertEqual(heard.length, 1, "a removed listener hears nothing");
    console.log("events done");
  }, 10);
}, 10);
