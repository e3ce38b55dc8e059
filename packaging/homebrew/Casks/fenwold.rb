cask "fenwold" do
  version "0.1.0"
  sha256 :no_check # the release step writes the disk image's SHA-256 here

  url "https://github.com/fenwold/fenwold/releases/download/v#{version}/Fenwold-#{version}.dmg"
  name "Fenwold"
  desc "Windows shortcuts, window switcher, snapping and clipboard shelf"
  homepage "https://github.com/fenwold/fenwold"

  livecheck do
    url "https://github.com/fenwold/fenwold/releases/latest/download/appcast.xml"
    strategy :sparkle
  end

  auto_updates true
  depends_on macos: ">= :sonoma"

  app "Fenwold.app"

  uninstall quit: "org.fenwold.Fenwold"

  zap trash: [
    "~/Library/Application Support/Fenwold",
    "~/Library/Caches/org.fenwold.Fenwold",
    "~/Library/HTTPStorages/org.fenwold.Fenwold",
    "~/Library/Preferences/org.fenwold.Fenwold.plist",
  ]
end
