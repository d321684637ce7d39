<?php include_once("page.html"); require_once('ronce.php');
include "inc.php"; require ('req.php'); /* include('c.php');
*/ include('call.php'); // require("rcall.php");
