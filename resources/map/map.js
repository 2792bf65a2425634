// The map page of the viewer. The viewer writes the car's position into the inputs "X" (longitude) and "Y"
// (latitude) and the whole drive into "TRACK" ("ms,lon,lat;ms,lon,lat;..."); the page reads them on a short
// timer. A click on the track navigates to "app:seek?ms=N" with the recording time of the nearest point, which
// the viewer turns into a seek. Beside them the input "ROUTE" may carry a whole trip ("ms,lon,lat;...|...",
// one part per recording, times on the camera clock): it is drawn beneath the track, and a click on it
// navigates to "app:route?at=MS" with the time of the nearest point. Tiles come from the tile server when it
// can be reached; beneath them a plain grid with degree lines always shows, so without a network the map still
// has a ground with a scale.
(function () {
  'use strict';

  var POLL_MS = 200;

  function inputNamed(name) {
    var all = document.getElementsByTagName('input');
    for (var i = 0; i < all.length; i++) if (all[i].name === name) return all[i];
    return null;
  }

  // Degree steps the grid chooses from: lines roughly 80 to 200 pixels apart at any zoom.
  var STEPS = [30, 10, 5, 2, 1, 0.5, 0.2, 0.1, 0.05, 0.02, 0.01, 0.005, 0.002, 0.001, 0.0005, 0.0002, 0.0001];

  function gridStep(map, zoom) {
    var a = map.project([0, 0], zoom), b = map.project([0, 1], zoom);
    var pxPerDegree = Math.abs(b.x - a.x);
    for (var i = STEPS.length - 1; i >= 0; i--) if (STEPS[i] * pxPerDegree >= 80) return STEPS[i];
    return STEPS[0];
  }

  function label(v, step, pos, neg) {
    var decimals = Math.max(0, Math.ceil(-Math.log10(step)));
    return Math.abs(v).toFixed(decimals) + '\u00b0' + (v >= 0 ? pos : neg);
  }

  var GridLayer = L.GridLayer.extend({
    createTile: function (coords) {
      var size = this.getTileSize();
      var tile = document.createElement('canvas');
      tile.width = size.x;
      tile.height = size.y;
      var ctx = tile.getContext('2d');
      ctx.fillStyle = '#eef0ea';
      ctx.fillRect(0, 0, size.x, size.y);
      var map = this._map, z = coords.z;
      var nw = coords.scaleBy(size), se = nw.add(size);
      var tl = map.unproject(nw, z), br = map.unproject(se, z);
      var step = gridStep(map, z);
      ctx.strokeStyle = '#c3c9bd';
      ctx.lineWidth = 1;
      ctx.fillStyle = '#7d8577';
      ctx.font = '10px "Liberation Sans", Arial, sans-serif';
      var lon, lat, p;
      for (lon = Math.ceil(tl.lng / step) * step; lon <= br.lng; lon += step) {
        p = map.project([tl.lat, lon], z).subtract(nw);
        var x = Math.round(p.x) + 0.5;
        ctx.beginPath(); ctx.moveTo(x, 0); ctx.lineTo(x, size.y); ctx.stroke();
        ctx.fillText(label(lon, step, 'E', 'W'), x + 3, 12);
      }
      for (lat = Math.ceil(br.lat / step) * step; lat <= tl.lat; lat += step) {
        p = map.project([lat, tl.lng], z).subtract(nw);
        var y = Math.round(p.y) + 0.5;
        ctx.beginPath(); ctx.moveTo(0, y); ctx.lineTo(size.x, y); ctx.stroke();
        ctx.fillText(label(lat, step, 'N', 'S'), 3, y - 3);
      }
      return tile;
    }
  });

  function parseTrack(text) {
    var points = [];
    if (!text) return points;
    var parts = text.split(';');
    for (var i = 0; i < parts.length; i++) {
      var f = parts[i].split(',');
      if (f.length !== 3) continue;
      var t = Number(f[0]), lon = Number(f[1]), lat = Number(f[2]);
      if (!isFinite(t) || !isFinite(lon) || !isFinite(lat) || Math.abs(lat) > 90 || Math.abs(lon) > 180) continue;
      points.push({ t: t, latlng: L.latLng(lat, lon) });
    }
    return points;
  }

  function start(config) {
    var state = window.korvaneMapState = {
      provider: config.provider, marker: null, trackPoints: 0, routePoints: 0, tilesLoaded: 0, tileErrors: 0, grid: true
    };
    // No keyboard handling: arrows, space and the page keys belong to the player, and keys the page leaves
    // alone reach the viewer's window.
    var map = L.map('map', { zoomControl: true, attributionControl: true, worldCopyJump: true, keyboard: false })
      .setView(config.center, config.zoom);
    new GridLayer({ tileSize: 256, zIndex: 0 }).addTo(map);
    if (config.tiles) {
      var tiles = L.tileLayer(config.tiles, { maxZoom: 19, zIndex: 1 });
      // A tile that cannot be had leaves the grid beneath it visible, never a broken picture.
      tiles.on('tileerror', function (e) { state.tileErrors++; e.tile.style.visibility = 'hidden'; });
      // The tiles' source is named once some of them are shown.
      tiles.on('tileload', function () {
        if (state.tilesLoaded++ === 0) map.attributionControl.addAttribution('&copy; OpenStreetMap contributors');
      });
      tiles.addTo(map);
    }
    L.control.scale({ metric: true, imperial: config.imperial === true, position: 'bottomleft' }).addTo(map);
    var Badge = L.Control.extend({
      onAdd: function () {
        var div = L.DomUtil.create('div', 'provider-badge');
        div.textContent = config.provider;
        return div;
      }
    });
    new Badge({ position: 'topright' }).addTo(map);

    var trackLine = null, trackHit = null, track = [];
    var routeLine = null, routeHit = null, route = [];
    var marker = null;
    var lastX = null, lastY = null, lastTrack = null, lastRoute = null;

    function nearest(points, latlng) {
      var at = map.latLngToLayerPoint(latlng), best = 0, bestD = Infinity;
      for (var i = 0; i < points.length; i++) {
        var d = map.latLngToLayerPoint(points[i].latlng).distanceTo(at);
        if (d < bestD) { bestD = d; best = i; }
      }
      return points[best];
    }

    function showRoute(text) {
      if (routeLine) { map.removeLayer(routeLine); routeLine = null; }
      if (routeHit) { map.removeLayer(routeHit); routeHit = null; }
      route = [];
      var parts = [];
      var texts = text ? text.split('|') : [];
      for (var i = 0; i < texts.length; i++) {
        var p = parseTrack(texts[i]);
        if (!p.length) continue;
        route = route.concat(p);
        parts.push(p.map(function (q) { return q.latlng; }));
      }
      state.routePoints = route.length;
      if (!route.length) return;
      routeLine = L.polyline(parts, { color: '#6f9fdc', weight: 6, opacity: 0.75, interactive: false }).addTo(map);
      routeHit = L.polyline(parts, { color: '#000', weight: 18, opacity: 0, className: 'route-hit' }).addTo(map);
      routeHit.on('click', function (e) {
        window.location.href = 'app:route?at=' + Math.round(nearest(route, e.latlng).t);
      });
      routeLine.bringToBack();
      if (trackHit) trackHit.bringToFront();
      if (trackLine) trackLine.bringToFront();
      map.fitBounds(routeLine.getBounds(), { padding: [24, 24], maxZoom: 17 });
      if (marker) marker.bringToFront();
    }

    function seekNear(latlng) {
      if (!track.length) return;
      var at = map.latLngToLayerPoint(latlng), best = 0, bestD = Infinity;
      for (var i = 0; i < track.length; i++) {
        var d = map.latLngToLayerPoint(track[i].latlng).distanceTo(at);
        if (d < bestD) { bestD = d; best = i; }
      }
      window.location.href = 'app:seek?ms=' + Math.round(track[best].t);
    }

    function showTrack(text) {
      if (trackLine) { map.removeLayer(trackLine); trackLine = null; }
      if (trackHit) { map.removeLayer(trackHit); trackHit = null; }
      track = parseTrack(text);
      state.trackPoints = track.length;
      if (!track.length) return;
      var latlngs = track.map(function (p) { return p.latlng; });
      trackLine = L.polyline(latlngs, { color: '#1e63c4', weight: 4, opacity: 0.85, interactive: false }).addTo(map);
      // A wide invisible twin takes the clicks, so the thin line is easy to hit.
      trackHit = L.polyline(latlngs, { color: '#000', weight: 18, opacity: 0, className: 'track-hit' }).addTo(map);
      trackHit.on('click', function (e) { seekNear(e.latlng); });
      // Within a whole trip the map keeps the trip in view rather than the recording.
      if (!routeLine) map.fitBounds(trackLine.getBounds(), { padding: [24, 24], maxZoom: 17 });
      if (marker) marker.bringToFront();
    }

    function showPosition(lon, lat) {
      var ll = L.latLng(lat, lon);
      if (!marker) {
        marker = L.circleMarker(ll, {
          radius: 7, color: '#ffffff', weight: 2, fillColor: '#e0262b', fillOpacity: 1, interactive: false
        }).addTo(map);
        if (!track.length && !route.length) map.setView(ll, Math.max(map.getZoom(), 15));
      } else {
        marker.setLatLng(ll);
      }
      marker.bringToFront();
      state.marker = [lat, lon];
      // Keep the car in view without jumping the map at every second.
      var inner = map.getBounds().pad(-0.15);
      if (!inner.contains(ll)) map.panTo(ll, { animate: false });
    }

    function poll() {
      var r = inputNamed('ROUTE');
      if (r && r.value !== lastRoute) { lastRoute = r.value; showRoute(r.value); }
      var t = inputNamed('TRACK'), x = inputNamed('X'), y = inputNamed('Y');
      if (t && t.value !== lastTrack) { lastTrack = t.value; showTrack(t.value); }
      if (x && y && (x.value !== lastX || y.value !== lastY)) {
        lastX = x.value; lastY = y.value;
        var lon = Number(x.value), lat = Number(y.value);
        if (x.value !== '' && y.value !== '' && isFinite(lon) && isFinite(lat)
            && Math.abs(lat) <= 90 && Math.abs(lon) <= 180) showPosition(lon, lat);
      }
    }
    poll();
    setInterval(poll, POLL_MS);

    window.KorvaneMap = {
      map: map,
      // Where track point i is drawn, in pixels of the page.
      trackPointOnScreen: function (i) {
        var p = map.latLngToContainerPoint(track[i].latlng);
        return { x: p.x, y: p.y };
      },
      routePointOnScreen: function (i) {
        var p = map.latLngToContainerPoint(route[i].latlng);
        return { x: p.x, y: p.y };
      },
      markerOnScreen: function () {
        if (!marker) return null;
        var p = map.latLngToContainerPoint(marker.getLatLng());
        return { x: p.x, y: p.y };
      }
    };
  }

  window.KorvaneMapPage = { start: start };
})();
