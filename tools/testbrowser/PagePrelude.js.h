// Page-side code the browser installs before any page script runs. Kept in one place so that what the
// page sees (window, document, location, elements, assertions, the scripted user) reads as script.
#pragma once

namespace testbrowser {

// Evaluates to an object of helper functions the browser calls with page values.
inline const char* const kHelpersScript = R"JS(
(function (global) {
  var helpers = {
    fail: {},
    isMethod: function (o, k) { return typeof o[k] === 'function'; },
    has: function (o, k) { return (k in o); },
    get: function (o, k) { return o[k]; },
    set: function (o, k, v) { o[k] = v; },
    remove: function (o, k) { delete o[k]; },
    call: function (o, k, args) {
      var f = o[k];
      if (typeof f !== 'function') return helpers.fail;
      return f.apply(o, args);
    },
    callDefault: function (f, args) {
      if (typeof f !== 'function') return helpers.fail;
      return f.apply(undefined, args);
    },
    construct: function (f, args) {
      if (typeof f !== 'function') return helpers.fail;
      return new (Function.prototype.bind.apply(f, [null].concat(args)))();
    },
    keys: function (o) { return Object.keys(o); },
    runTimer: function (entry) {
      if (typeof entry.fn === 'string') (0, eval)(entry.fn);
      else entry.fn.apply(global, entry.args);
    }
  };
  return helpers;
})(this)
)JS";

// A function of (natives) that sets up the page's globals.
inline const char* const kWindowScript = R"JS(
(function (natives) {
  var global = this;
  var href = natives.location;
  var m = /^([A-Za-z][A-Za-z0-9+.\-]*:)\/\/([^\/?#]*)([^?#]*)(\?[^#]*)?(#.*)?$/.exec(href);
  var host = m ? m[2] : '';
  var location = {
    href: href,
    protocol: m ? m[1] : '',
    host: host,
    hostname: host.replace(/:\d*$/, ''),
    port: (/:(\d*)$/.exec(host) || ['', ''])[1],
    pathname: m ? (m[3] || '/') : '',
    search: m && m[4] ? m[4] : '',
    hash: m && m[5] ? m[5] : '',
    toString: function () { return this.href; }
  };
  var elements = {};
  var enumerable = [];
  global.window = global;
  global.self = global;
  global.location = location;
  global.document = {
    location: location,
    URL: href,
    title: '',
    getElementById: function (id) { return elements.hasOwnProperty(id) ? elements[id] : null; }
  };
  global.alert = function (text) { console.log('[alert] ' + text); };
  global.assert = function (condition, message) {
    if (!condition) throw new Error('assertion failed' + (message ? ': ' + message : ''));
  };
  global.assertEqual = function (actual, expected, message) {
    if (actual !== expected)
      throw new Error((message ? message + ': ' : '') + 'expected ' + JSON.stringify(expected) + ' (' +
                      typeof expected + '), got ' + JSON.stringify(actual) + ' (' + typeof actual + ')');
  };
  // Plug-in objects list their names through their own enumeration; for...in does not reach them.
  var keys = Object.keys;
  Object.keys = function (o) {
    if (natives.isPluginObject(o) || enumerable.indexOf(o) >= 0) return Object.getOwnPropertyNames(o);
    return keys(o);
  };
  // The scripted user: user.click('okButton') queues the step "click<TAB>okButton".
  global.user = new Proxy({}, {
    get: function (t, k) {
      if (typeof k !== 'string') return undefined;
      if (k === 'pending') return natives.userPending;
      if (k === 'clear') return natives.userClear;
      return function () {
        var parts = [k];
        for (var i = 0; i < arguments.length; i++) parts.push(String(arguments[i]));
        natives.userPush(parts.join('\t'));
      };
    }
  });
  // An embedded plug-in's element: its own attributes, and everything else from the plug-in's
  // scriptable object, as browsers do for <embed> and <object>.
  natives.makeElement = function (index, id, tagName, attributes) {
    var element = {
      id: id,
      tagName: tagName,
      nodeName: tagName,
      type: attributes.type,
      getAttribute: function (n) { return attributes.hasOwnProperty(n) ? attributes[n] : null; }
    };
    var own = function (k) { return Object.prototype.hasOwnProperty.call(element, k); };
    var proxy = new Proxy(element, {
      get: function (t, k) {
        if (own(k)) return t[k];
        var s = natives.scriptable(index);
        return s ? s[k] : undefined;
      },
      set: function (t, k, v) {
        if (own(k)) { t[k] = v; return true; }
        var s = natives.scriptable(index);
        if (!s) throw new Error('the plug-in "' + id + '" is not running');
        s[k] = v;
        return true;
      },
      has: function (t, k) {
        if (own(k)) return true;
        var s = natives.scriptable(index);
        return !!s && (k in s);
      },
      deleteProperty: function (t, k) {
        var s = natives.scriptable(index);
        return s ? delete s[k] : true;
      },
      ownKeys: function () {
        var s = natives.scriptable(index);
        return s ? Object.getOwnPropertyNames(s) : [];
      }
    });
    enumerable.push(proxy);
    elements[id] = proxy;
    global[id] = proxy;
    return proxy;
  };
})
)JS";

}  // namespace testbrowser
